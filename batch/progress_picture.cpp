#include "batch/progress_picture.h"

namespace tessavo {
namespace {

// The byte values of the stored form, written by the build from the frames'
// pixel maps.
constexpr std::uint8_t StoredProgressPicture[] = {
#include "progress_picture.inc"
};

}  // namespace

std::span<const std::uint8_t> ProgressPictureData() { return StoredProgressPicture; }

}  // namespace tessavo
