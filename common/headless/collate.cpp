// Without a locale service the order is that of the bytes with ASCII
// letters folded to lowercase: the same as the locale order for the
// letters and digits that passwords are made of.
#include "common/collate.h"

namespace tessavo {

int CompareTextLocale(std::string_view a, std::string_view b) { return CompareAsciiFolded(a, b); }

}  // namespace tessavo
