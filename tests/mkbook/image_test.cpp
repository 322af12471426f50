// Pictures, image descriptors and inline pictures.
#include "tools/mkbook/image.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/mkbook/hex.h"

namespace morva::mkbook {
namespace {

TEST(Picture, RowsOfWholeBytesLeftmostPixelHigh) {
  const Picture p = Picture::FromPattern({"#...............#", "", ".#"});
  EXPECT_EQ(p.width(), 17);
  EXPECT_EQ(p.RowBytes(), 3);
  EXPECT_EQ(p.Bytes(), Hex("800080 000000 400000"));
  EXPECT_THROW(Picture(0, 1), std::invalid_argument);
}

TEST(Picture, DescriptorNamesPictureSizeAndRegions) {
  ImageDescriptor d;
  d.picture = {0x30, 0x100};
  d.width = 17;
  d.height = 2;
  d.relatedText = BookAddress{40, 2};
  d.hotSpots = {{12, 34, {50, 6}, true}, {5, 6, {41, 0}, false, "a"}};
  BodyText text({1, 0});
  WriteImageDescriptor(text, d);
  EXPECT_EQ(text.Bytes(), Hex("1F51 00000048 0256"
                              "1F31 0000 0017 0002"
                              "1F62 00000040 0002"
                              "1F32 0012 0034 1F52 00000050 0006"
                              "1F32 0005 0006 2361 1F62 00000041 0000"
                              "1F65"));
  d.positionCode = 0x33;
  EXPECT_THROW(WriteImageDescriptor(text, d), std::invalid_argument);
}

TEST(Picture, InlinePictureCarriesSizeAndDataAddress) {
  BodyText text({1, 0});
  WriteInlinePicture(text, "図", Picture(17, 2), {30, 0x100});
  EXPECT_EQ(text.Bytes(), Hex("1F44 0000 0000 0002 0000 0017 3F5E 1F64 00000030 0256"));
}

}  // namespace
}  // namespace morva::mkbook
