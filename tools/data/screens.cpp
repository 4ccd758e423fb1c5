// The logo and the main menu's background.
#include <string_view>

#include "art.h"
#include "artwork.h"

namespace coilrun {
namespace {

struct Caption {
  int y;
  std::string_view text;
  TextStyle style;
};

// A night sky shading down to `horizon`, with stars kept clear of the captions.
void DrawNightSky(Picture& p, Rgb top, Rgb bottom, int horizon, uint32_t seed,
                  const std::vector<Caption>& captions) {
  FillGradient(p, 0, 0, 640, horizon, top, bottom, 7);
  std::vector<Box> clear;
  for (const Caption& c : captions) clear.push_back(CentredTextBox(320, c.y, c.text, c.style));
  DrawStars(p, Box{0, 0, 640, horizon - 40}, 150, seed, clear);
}

void DrawCaptions(Picture& p, const std::vector<Caption>& captions) {
  for (const Caption& c : captions) DrawTextCentred(p, 320, c.y, c.text, c.style);
}

void DrawMoon(Picture& p, int x, int y, int size) {
  const Rgb halo{44, 38, 84}, moon{236, 230, 196}, crater{208, 200, 166};
  FillEllipse(p, x - 6, y - 6, size + 12, size + 12, halo);
  FillEllipse(p, x, y, size, size, moon);
  FillEllipse(p, x + size / 5, y + size / 4, size / 4, size / 5, crater);
  FillEllipse(p, x + size / 2, y + size / 2, size / 3, size / 4, crater);
  FillEllipse(p, x + size / 3, y + size * 3 / 4 - 2, size / 6, size / 7, crater);
}

}  // namespace

Picture DrawLogo() {
  Picture p = MakePicture(640, 480, kBlack);
  const std::vector<Caption> captions = {{34, "COILRUN", TitleStyle(12)},
                                         {150, "A HUNGRY SNAKE - SIX STAGES", PlainStyle(2)},
                                         {440, "PRESS ANY KEY", TitleStyle(3)}};
  DrawNightSky(p, {12, 12, 38}, {70, 38, 92}, 380, 0x1090u, captions);
  DrawMoon(p, 520, 180, 56);
  DrawHills(p, 372, {38, 40, 76}, {30, 66, 42}, {70, 130, 66}, 0x4111u);

  // The snake coiled on the hill, its head raised toward its prey.
  std::vector<Point> snake = SpiralPath(206, 390, 0, 2 * 65536 + 54000, 4, 54, 3);
  AppendLine(snake, {276, 312}, 3);
  AppendLine(snake, {300, 272}, 3);
  AppendLine(snake, {330, 262}, 3);
  DrawSnake(p, snake, 13, {430, 300});
  PastePicture(p, ScalePicture(DrawEnemy(0), 2), 424, 312, kWhite);
  PastePicture(p, ScalePicture(DrawEnemy(1), 2), 520, 372, kWhite);
  DrawCaptions(p, captions);
  return p;
}

Picture DrawMenuBackground() {
  Picture p = MakePicture(640, 480, kBlack);
  const std::vector<Caption> captions = {{40, "COILRUN", TitleStyle(8)},
                                         {128, "MAIN MENU", PlainStyle(3)},
                                         {456, "UP / DOWN: CHOOSE     RETURN: SELECT", PlainStyle(2)}};
  DrawNightSky(p, {18, 12, 44}, {78, 40, 96}, 420, 0x3E1Du, captions);
  DrawMoon(p, 54, 150, 40);
  DrawHills(p, 404, {38, 40, 76}, {30, 66, 42}, {70, 130, 66}, 0x4112u);

  // The plate the menu entry's label appears on, with arrows for Up and Down.
  DrawFramedPanel(p, 150, 260, 340, 80, kPanelFrame, kPanelFill);
  DrawArrow(p, 320, 232, 12, true, kGoldTop);
  DrawArrow(p, 320, 368, 12, false, kGoldTop);

  std::vector<Point> snake;
  for (int x = 30; x <= 596; x += 3) snake.push_back({x, 428 + SineQ(x * 300) * 8 / 32767});
  DrawSnake(p, snake, 11, {640, 428});
  DrawCaptions(p, captions);
  return p;
}

}  // namespace coilrun
