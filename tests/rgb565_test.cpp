// The screenshot's colours: 5-6-5 pixels widened to 8 bits a channel.
#include "platform/common/rgb565.h"

#include <gtest/gtest.h>

namespace coilrun {
namespace {

// Each channel's top bits repeat into its low bits: no channel loses its full brightness or its order.
TEST(Rgb565, EachChannelSpansTheFullRangeAndKeepsItsOrder) {
  EXPECT_EQ(Rgb565ToRgb888(0xF800), 0xFF0000u);
  EXPECT_EQ(Rgb565ToRgb888(0x07E0), 0x00FF00u);
  EXPECT_EQ(Rgb565ToRgb888(0x001F), 0x0000FFu);
  EXPECT_EQ(Rgb565ToRgb888(0x8410), 0x848284u);  // The middle level of each channel.
  EXPECT_EQ(Rgb565ToRgb888(0x0821), 0x080408u);  // The lowest level but one.
}

}  // namespace
}  // namespace coilrun
