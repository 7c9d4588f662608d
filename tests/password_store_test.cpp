#include "batch/password_store.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "batch/store_image.h"
#include "batch/store_sort.h"
#include "common/collate.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#endif

namespace tessavo {
namespace {

namespace fs = std::filesystem;

PasswordStore StoreOf(const std::vector<std::string>& texts) {
  PasswordStore store;
  for (const std::string& text : texts) store.Append(text);
  return store;
}

std::vector<std::string> Contents(const PasswordStore& store) {
  std::vector<std::string> texts;
  for (int k = 0; k < store.Count(); ++k) texts.emplace_back(store.Get(k));
  return texts;
}

// --- Entries, positions and their errors ---------------------------------

TEST(PasswordStoreTest, KeepsAppendOrderIncludingEmptyAndSelfCopiedTexts) {
  PasswordStore store = StoreOf({"first", "", "third"});
  // A view into the store itself must survive the buffer moving.
  for (int k = 0; k < 200; ++k) store.Append(store.Get(0));
  ASSERT_EQ(store.Count(), 203);
  EXPECT_EQ(store.Get(1), "");
  EXPECT_EQ(store.Get(2), "third");
  EXPECT_EQ(store.Get(202), "first");
}

TEST(PasswordStoreTest, OutOfRangePositionsThrowTheListErrorAndChangeNothing) {
  PasswordStore store = StoreOf({"a", "b", "c"});
  const auto expectError = [&](auto operation, int index) {
    try {
      operation(index);
      ADD_FAILURE() << "no error for " << index;
    } catch (const ListIndexError& error) {
      EXPECT_EQ(std::string(error.what()),
                "List index out of bounds (" + std::to_string(index) + ")");
      EXPECT_EQ(error.Index(), index);
    }
  };
  for (const int index : {-1, 3, -2147483647 - 1, 2147483647}) {
    expectError([&](int k) { store.Get(k); }, index);
    expectError([&](int k) { store.Delete(k); }, index);
  }
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"a", "b", "c"}));

  PasswordStore empty;
  expectError([&](int k) { empty.Get(k); }, 0);
}

TEST(PasswordStoreTest, DeleteMovesLaterEntriesUp) {
  PasswordStore store = StoreOf({"a", "b", "c", "d", "e"});
  store.Delete(0);
  store.Delete(store.Count() - 1);
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"b", "c", "d"}));
  store.Delete(1);
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"b", "d"}));
  store.Append("f");  // appends after deletions still land at the end
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"b", "d", "f"}));
}

TEST(PasswordStoreTest, ClearReleasesAllMemory) {
  PasswordStore store = StoreOf({"some", "texts"});
  store.Reserve(1000, 100000);
  EXPECT_GE(store.MemoryUsage(), 100000u + 8000u);
  store.Clear();
  EXPECT_EQ(store.Count(), 0);
  // The empty string may keep its small inline buffer, never a heap block.
  EXPECT_LT(store.MemoryUsage(), 32u);
}

// --- Sort ---------------------------------------------------------------

TEST(PasswordStoreSortTest, OrdersDigitsFirstThenLettersIgnoringCase) {
  PasswordStore store = StoreOf({"b2", "B1", "a9", "10"});
  store.Sort();
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"10", "a9", "B1", "b2"}));

  store = StoreOf({"abc", "ab", "Abcd", "0", "z", "A"});
  store.Sort();
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"0", "A", "ab", "abc", "Abcd", "z"}));
}

TEST(PasswordStoreSortTest, LeavesCaseOnlyVariantsWhereTheQuicksortPutsThem) {
  // Worked by hand through the partition steps: all four compare equal.
  PasswordStore store = StoreOf({"Ab", "aB", "AB", "ab"});
  store.Sort();
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"AB", "ab", "Ab", "aB"}));
}

TEST(PasswordStoreSortTest, LeavesZeroOrOneEntryAlone) {
  PasswordStore store;
  store.Sort();
  EXPECT_EQ(store.Count(), 0);
  store.Append("Z-1");
  store.Sort();
  EXPECT_EQ(Contents(store), (std::vector<std::string>{"Z-1"}));
}

// The plain recursive form of the quicksort, with the comparison rule: the
// locale order, or the fast one for a pair of alphanumeric texts.
int RuleCompare(const std::string& a, const std::string& b) {
  if (IsAsciiAlphanumeric(a) && IsAsciiAlphanumeric(b)) return CompareAlphanumericFolded(a, b);
  return CompareTextLocale(a, b);
}

void PlainQuickSort(std::vector<std::string>& a, int low, int high) {
  int i;
  do {
    i = low;
    int j = high;
    const std::string pivot = a[(low + high) / 2];
    do {
      while (RuleCompare(a[i], pivot) < 0) ++i;
      while (RuleCompare(a[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(a[i], a[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (low < j) PlainQuickSort(a, low, j);
    low = i;
  } while (i < high);
}

std::vector<std::string> CaseVariantTexts(unsigned seed, int count, const std::string& prefix,
                                          const std::string& alphabet, int maxLength) {
  std::mt19937 random(seed);
  std::vector<std::string> texts;
  for (int k = 0; k < count; ++k) {
    std::string text = prefix;
    const int length = 1 + static_cast<int>(random() % static_cast<unsigned>(maxLength));
    for (int c = 0; c < length; ++c) text += alphabet[random() % alphabet.size()];
    texts.push_back(text);
  }
  return texts;
}

TEST(PasswordStoreSortTest, MatchesThePlainRecursiveQuicksortOnCaseOnlyDuplicates) {
  const struct {
    std::string prefix;
    std::string alphabet;
    int maxLength;
  } cases[] = {
      {"", "aAbB1", 3},            // short: decided within the first eight bytes
      {"xYzXyZ12", "aAbB", 3},     // equal first eight, decided after them
      {"Qq", "aAbB90zZ", 12},      // mixed lengths around eight
      {"", "aAbB-_ 1", 4},         // some entries not alphanumeric: per-pair rule
  };
  for (const auto& c : cases) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
      std::vector<std::string> expected = CaseVariantTexts(seed, 3000, c.prefix, c.alphabet,
                                                           c.maxLength);
      PasswordStore store = StoreOf(expected);
      PlainQuickSort(expected, 0, static_cast<int>(expected.size()) - 1);
      store.Sort();
      ASSERT_EQ(Contents(store), expected) << c.prefix << " " << c.alphabet << " " << seed;
    }
  }
}

// Texts for which the middle entry of every range is the largest: the
// plain quicksort recurses once per entry on them.
std::vector<std::string> PivotAlwaysLargest(int count) {
  std::vector<int> slots(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) slots[static_cast<std::size_t>(k)] = k;
  std::vector<int> rank(static_cast<std::size_t>(count), 0);
  for (int high = count - 1; high >= 1; --high) {
    rank[static_cast<std::size_t>(slots[static_cast<std::size_t>(high / 2)])] = high;
    std::swap(slots[static_cast<std::size_t>(high / 2)], slots[static_cast<std::size_t>(high)]);
  }
  std::vector<std::string> texts;
  for (const int r : rank) {
    char text[16];
    std::snprintf(text, sizeof text, "%07d", r);
    texts.emplace_back(text);
  }
  return texts;
}

void* SortOnThread(void* store) {
  static_cast<PasswordStore*>(store)->Sort();
  return nullptr;
}

TEST(PasswordStoreSortTest, WorstCaseInputSortsOnASmallStack) {
  const int count = 20000;
  PasswordStore store = StoreOf(PivotAlwaysLargest(count));

  // 256 KB: the plain recursion needs tens of bytes per entry here.
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 256 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, SortOnThread, &store), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);

  ASSERT_EQ(store.Count(), count);
  for (int k = 0; k < count; ++k) {
    char text[16];
    std::snprintf(text, sizeof text, "%07d", k);
    ASSERT_EQ(store.Get(k), text);
  }
}

// The fast order for lists without equal texts, held to the plain
// quicksort. Texts of 0..20 characters, a third of them sharing their first
// eight characters in varying case, so that keys tie and the tails decide.
constexpr std::size_t LongestList = 2147483647;

struct TestRef {
  std::uint32_t offset;
  std::uint32_t length;
};

std::vector<std::string> DistinctTexts(std::mt19937& random, int count) {
  const std::string alphabet = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::vector<std::string> texts;
  while (static_cast<int>(texts.size()) < count) {
    std::string text = random() % 3 == 0 ? "q7Rs0tUv" : "";
    for (char& c : text) c = random() % 2 ? static_cast<char>(std::toupper(c)) : c;
    for (int length = static_cast<int>(random() % 21); static_cast<int>(text.size()) < length;) {
      text += alphabet[random() % alphabet.size()];
    }
    const bool taken = std::any_of(texts.begin(), texts.end(), [&](const std::string& other) {
      return CompareAlphanumericFolded(text, other) == 0;
    });
    if (!taken) texts.push_back(text);
  }
  return texts;
}

std::vector<TestRef> RefsOf(const std::vector<std::string>& texts, std::string& chars) {
  std::vector<TestRef> refs;
  for (const std::string& text : texts) {
    refs.push_back({static_cast<std::uint32_t>(chars.size()),
                    static_cast<std::uint32_t>(text.size())});
    chars += text;
  }
  return refs;
}

// Sorts through the fast order directly, so that a list the store would
// have left to the quicksort shows: expects it to succeed exactly when no
// two texts compare equal, and to leave the references alone otherwise.
// The items are packed as for a list of packedFor entries: lists beyond
// four million keep fewer key bits, and more texts share a key.
std::vector<std::string> FastOrder(const std::vector<std::string>& texts, bool expectDistinct,
                                   std::size_t packedFor) {
  std::string chars;
  std::vector<TestRef> refs = RefsOf(texts, chars);
  using namespace store_sort_detail;
  const bool sorted = packedFor == texts.size()
                          ? SortDistinctAlphanumeric(chars, refs)
                          : SortDistinctPacked(Packing(packedFor), chars, refs);
  EXPECT_EQ(sorted, expectDistinct);
  std::vector<std::string> result;
  for (const TestRef ref : refs) result.push_back(chars.substr(ref.offset, ref.length));
  if (!sorted) {
    EXPECT_EQ(result, texts);
  }
  return result;
}

TEST(PasswordStoreSortTest, FastOrderMatchesTheQuicksortAndStepsAsideForEqualTexts) {
  const store_sort_detail::Packing longest(LongestList);
  const std::uint64_t largestKey = store_sort_detail::CompactAlphanumericKey("zzzzzzzz");
  ASSERT_EQ(longest.Position(longest.Item(largestKey, LongestList - 1)), LongestList - 1);

  std::mt19937 random(77);
  for (const int count : {2, 3, 17, 2000}) {
    for (int round = 0; round < 3; ++round) {
      std::vector<std::string> texts = DistinctTexts(random, count);
      // One equal pair, placed late: a case variant, or the first entry last.
      if (round == 1) {
        std::string twin = texts[random() % texts.size()];
        for (char& c : twin) {
          if (std::isalpha(static_cast<unsigned char>(c))) c ^= 0x20;
        }
        texts.insert(texts.end() - 1, twin);
      } else if (round == 2) {
        texts.push_back(texts.front());
      }
      std::vector<std::string> expected = texts;
      PlainQuickSort(expected, 0, static_cast<int>(expected.size()) - 1);
      for (const std::size_t packedFor : {texts.size(), std::size_t{1} << 26, LongestList}) {
        const std::vector<std::string> fast = FastOrder(texts, round == 0, packedFor);
        if (round == 0) {
          EXPECT_EQ(fast, expected) << count << " " << packedFor;
        }
      }
      PasswordStore store = StoreOf(texts);
      store.Sort();
      ASSERT_EQ(Contents(store), expected) << count << " " << round;
    }
  }
}

// --- Collation ----------------------------------------------------------

TEST(CollateTest, AlphanumericTestRejectsTheNeighboursOfTheRanges) {
  EXPECT_TRUE(IsAsciiAlphanumeric(""));
  EXPECT_TRUE(IsAsciiAlphanumeric("09azAZ"));
  for (const char c : std::string("/:@[`{ -_\x7f\xc1\xe1")) {
    EXPECT_FALSE(IsAsciiAlphanumeric(std::string("a") + c)) << static_cast<int>(c);
  }
}

TEST(CollateTest, FastComparisonFollowsTheLocaleRules) {
  EXPECT_EQ(CompareAlphanumericFolded("Ab", "aB"), 0);
  EXPECT_LT(CompareAlphanumericFolded("9", "a"), 0);
  EXPECT_GT(CompareAlphanumericFolded("Z", "a0"), 0);
  EXPECT_LT(CompareAlphanumericFolded("abcdefgh", "ABCDEFGH0"), 0);
  EXPECT_GT(CompareAlphanumericFolded("abcdefghZ", "ABCDEFGHy"), 0);
  EXPECT_LT(CompareAlphanumericFolded("", "0"), 0);
  EXPECT_LT(AlphanumericSortKey("ab"), AlphanumericSortKey("AB0"));
  EXPECT_EQ(AlphanumericSortKey("abcdefghX"), AlphanumericSortKey("ABCDEFGHy"));
  EXPECT_EQ(CompareTextLocale("ABC", "abc"), 0);
}

// Texts are tested eight bytes at a time and the rest one by one: any byte
// at any place, whole words and tails alike, must be judged on its own.
TEST(CollateTest, AlphanumericTestJudgesEveryByteAtEveryPlace) {
  const auto alphanumeric = [](int c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  };
  for (const std::size_t length : {1u, 7u, 8u, 9u, 16u, 17u}) {
    for (std::size_t at = 0; at < length; ++at) {
      for (int c = 0; c < 256; ++c) {
        std::string text(length, at % 2 ? 'Z' : '0');
        text[at] = static_cast<char>(c);
        ASSERT_EQ(IsAsciiAlphanumeric(text), alphanumeric(c)) << length << " " << at << " " << c;
      }
    }
  }
}

#ifdef _WIN32
// The fast comparison stands in for the locale one; this holds it to the
// real CompareStringA on texts built to share prefixes and differ in case.
TEST(CollateTest, FastComparisonAgreesWithCompareStringA) {
  const std::string alphabet =
      "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::mt19937 random(2024);
  const auto sgn = [](int v) { return (v > 0) - (v < 0); };
  for (int k = 0; k < 20000; ++k) {
    std::string a;
    for (int c = static_cast<int>(random() % 13); c > 0; --c) a += alphabet[random() % 62];
    // b: a prefix of a with some letters' case flipped, plus a short tail.
    std::string b = a.substr(0, random() % (a.size() + 1));
    for (char& c : b) {
      if (std::isalpha(static_cast<unsigned char>(c)) && random() % 2) c ^= 0x20;
    }
    for (int c = static_cast<int>(random() % 4); c > 0; --c) b += alphabet[random() % 62];
    ASSERT_EQ(sgn(CompareTextLocale(a, b)), sgn(CompareAlphanumericFolded(a, b))) << a << '|' << b;
    ASSERT_EQ(sgn(CompareTextLocale(b, a)), sgn(CompareAlphanumericFolded(b, a))) << a << '|' << b;
  }
}
#endif

// --- Saving -------------------------------------------------------------

class PasswordStoreSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / ("tessavo-save-" + std::string(info->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    for (const auto& item : fs::recursive_directory_iterator(folder_, ignored)) {
      fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
#ifdef _WIN32
      SetFileAttributesA(item.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
    }
    fs::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::vector<std::string> FolderListing() const {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder_)) {
      names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static void ExpectCreateError(const PasswordStore& store, const std::string& path) {
    try {
      store.SaveToFile(path);
      ADD_FAILURE() << "saved to " << path;
    } catch (const FileCreateError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
    }
  }

  fs::path folder_;
};

TEST_F(PasswordStoreSaveTest, WritesEveryEntryWithCrLfAndNothingElse) {
  const std::string path = PathOf("list.txt");
  StoreOf({"abc", "de", "f"}).SaveToFile(path);
  // 3 + 2 + 1 characters and three CR LF pairs: 12 bytes.
  EXPECT_EQ(ReadBytes(path), std::string("abc\r\nde\r\nf\r\n", 12));

  // Replacing a longer file leaves nothing of it behind; an empty store
  // gives an empty file.
  PasswordStore().SaveToFile(path);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(fs::file_size(path), 0u);
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"list.txt"});
}

TEST_F(PasswordStoreSaveTest, SavesInSortedOrderAfterSortAndDelete) {
  PasswordStore store = StoreOf({"b", "C", "a"});
  store.Sort();
  store.Delete(2);
  const std::string path = PathOf("sorted.txt");
  store.SaveToFile(path);
  EXPECT_EQ(ReadBytes(path), "a\r\nb\r\n");
}

// The image is made a chunk at a time: lines of every length straddle the
// chunk boundaries, one text is longer than a chunk, and empty texts still
// give their CR LF.
TEST_F(PasswordStoreSaveTest, ImageOfManyChunksIsExactlyEveryLineInOrder) {
  std::mt19937 random(11);
  PasswordStore store;
  std::string expected;
  for (int k = 0; expected.size() < 5 * SaveChunkBytes; ++k) {
    const std::size_t length = k == 700 ? SaveChunkBytes * 3 / 2 : random() % 41;
    const std::string text(length, static_cast<char>('a' + k % 26));
    store.Append(text);
    expected += text + "\r\n";
  }
  const std::string path = PathOf("chunks.txt");
  store.SaveToFile(path);
  EXPECT_TRUE(ReadBytes(path) == expected);  // not printed: megabytes

  // Every place a boundary can cut a line, between CR and LF included.
  const std::vector<std::string> texts = {"", "a", "bc", "defghij", "", "klmnopqrstuvwxyz0123"};
  std::string chars;
  const std::vector<TestRef> refs = RefsOf(texts, chars);
  for (std::size_t chunkBytes = 1; chunkBytes <= 25; ++chunkBytes) {
    LinesImage image(chars, refs.size(), [&refs](std::size_t k) { return refs[k]; }, chunkBytes);
    std::string made;
    for (std::string_view chunk = image.Next(); !chunk.empty(); chunk = image.Next()) {
      EXPECT_LE(chunk.size(), chunkBytes);
      made += chunk;
    }
    EXPECT_EQ(made, "\r\na\r\nbc\r\ndefghij\r\n\r\nklmnopqrstuvwxyz0123\r\n") << chunkBytes;
  }
}

TEST_F(PasswordStoreSaveTest, MissingFolderOrFolderTargetFailsWithoutLeftovers) {
  const PasswordStore store = StoreOf({"abc"});
  ExpectCreateError(store, PathOf("missing") + "/list.txt");

  fs::create_directory(folder_ / "taken");
  WriteBytes(PathOf("taken") + "/inside.txt", "keep");
  ExpectCreateError(store, PathOf("taken"));
  EXPECT_TRUE(fs::is_directory(folder_ / "taken"));
  EXPECT_EQ(ReadBytes(PathOf("taken") + "/inside.txt"), "keep");
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"taken"});
}

TEST_F(PasswordStoreSaveTest, ReadOnlyTargetKeepsItsContents) {
  const std::string path = PathOf("locked.txt");
  WriteBytes(path, "old contents\r\n");
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
#else
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
#endif
  ExpectCreateError(StoreOf({"new"}), path);
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"locked.txt"});
}

#ifdef _WIN32
TEST_F(PasswordStoreSaveTest, TargetOpenElsewhereKeepsItsContents) {
  const std::string path = PathOf("open.txt");
  WriteBytes(path, "old contents\r\n");
  const HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  ExpectCreateError(StoreOf({"new"}), path);
  CloseHandle(other);
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"open.txt"});
}
#endif

#ifndef _WIN32
TEST_F(PasswordStoreSaveTest, WriteFailureKeepsTheOldFileAndRemovesTheTemporary) {
  const std::string path = PathOf("big.txt");
  WriteBytes(path, "old contents\r\n");
  PasswordStore store;
  for (int k = 0; k < 1000; ++k) store.Append("0123456789abcdef");

  // A file size limit makes write() fail part way, as a full disk would.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  bool threw = false;
  try {
    store.SaveToFile(path);
  } catch (const StreamWriteError& error) {
    threw = true;
    EXPECT_STREQ(error.what(), "Stream write error");
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_TRUE(threw);
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"big.txt"});
}
#endif

// Chunks already in the temporary file are lost with it, whether making or
// writing the next one fails.
TEST_F(PasswordStoreSaveTest, FailureAfterSomeChunksKeepsTheOldFile) {
  const std::string path = PathOf("kept.txt");
  WriteBytes(path, "old contents\r\n");
  int calls = 0;
  const auto failingSource = [&]() -> std::string_view {
    if (++calls == 3) throw std::runtime_error("no more");
    return "chunk";
  };
  EXPECT_THROW(ReplaceFileContents(path, failingSource), std::runtime_error);
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
#ifndef _WIN32
  // The file size limit stands in for a full disk, as above.
  PasswordStore store;
  for (std::size_t size = 0; size < 6 * SaveChunkBytes; size += 18) {
    store.Append("0123456789abcdef");
  }
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 3 * SaveChunkBytes + 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  EXPECT_THROW(store.SaveToFile(path), StreamWriteError);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  EXPECT_EQ(ReadBytes(path), "old contents\r\n");
#endif
  EXPECT_EQ(FolderListing(), std::vector<std::string>{"kept.txt"});
}

}  // namespace
}  // namespace tessavo
