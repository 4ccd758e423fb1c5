// The two enemy creatures, a field mouse and a tree frog, on pure white.
#include <initializer_list>

#include "art.h"
#include "artwork.h"

namespace coilrun {
namespace {

struct Blob {
  int x, y, width, height;
  Rgb fill;
};

// Every blob grown by one pixel in the outline colour first, so that overlapping parts share one outline.
void DrawBlobs(Picture& picture, std::initializer_list<Blob> blobs, Rgb outline) {
  for (const Blob& b : blobs) FillEllipse(picture, b.x - 1, b.y - 1, b.width + 2, b.height + 2, outline);
  for (const Blob& b : blobs) FillEllipse(picture, b.x, b.y, b.width, b.height, b.fill);
}

Picture DrawMouse() {
  Picture p = MakePicture(50, 40, kWhite);
  const Rgb outline{44, 28, 30}, fur{150, 124, 108}, furDark{112, 88, 78}, furLight{190, 168, 150};
  const Rgb pink{238, 150, 160}, pinkDark{196, 98, 118};
  // The tail, curling up behind.
  static constexpr Point kTail[] = {{40, 31}, {42, 31}, {44, 30}, {45, 28}, {46, 26},
                                    {46, 24}, {45, 22}, {45, 20}, {46, 18}, {47, 17}};
  for (const Point& t : kTail) FillRect(p, t.x - 1, t.y - 1, 4, 4, outline);
  for (const Point& t : kTail) FillRect(p, t.x, t.y, 2, 2, pinkDark);
  DrawBlobs(p,
            {{16, 16, 27, 20, fur},
             {5, 14, 19, 16, fur},
             {14, 4, 12, 13, fur},
             {18, 31, 8, 6, furDark},
             {32, 31, 9, 6, furDark}},
            outline);
  FillEllipse(p, 16, 4, 8, 9, pink);
  FillEllipse(p, 19, 26, 22, 9, furDark);   // belly shade
  FillEllipse(p, 22, 18, 14, 6, furLight);  // back highlight
  FillEllipse(p, 8, 16, 8, 5, furLight);
  // Eye, nose and whiskers.
  FillEllipse(p, 9, 18, 5, 6, outline);
  SetPixel(p, 10, 19, Rgb{236, 236, 240});
  FillEllipse(p, 3, 22, 4, 4, pinkDark);
  for (int i = 0; i < 3; ++i) DrawLine(p, 7, 25, 1 + 2 * i, 29 + i % 2, MixColour(outline, fur, 1, 2));
  // Feet.
  FillRect(p, 16, 36, 6, 2, pink);
  FillRect(p, 31, 36, 6, 2, pink);
  return p;
}

Picture DrawFrog() {
  Picture p = MakePicture(50, 40, kWhite);
  const Rgb outline{24, 54, 30}, green{96, 196, 72}, greenDark{58, 140, 52}, greenLight{160, 228, 110};
  const Rgb belly{222, 236, 160}, eyeWhite{240, 238, 214}, cheek{236, 130, 120};
  DrawBlobs(p,
            {{1, 30, 14, 8, greenDark},
             {35, 30, 14, 8, greenDark},
             {6, 12, 38, 26, green},
             {6, 3, 15, 15, green},
             {29, 3, 15, 15, green}},
            outline);
  FillEllipse(p, 15, 22, 20, 14, belly);
  FillEllipse(p, 10, 14, 10, 5, greenLight);
  FillEllipse(p, 30, 14, 10, 5, greenLight);
  for (int eye : {9, 32}) {
    FillEllipse(p, eye - 1, 5, 11, 11, outline);
    FillEllipse(p, eye, 6, 9, 9, eyeWhite);
    FillEllipse(p, eye + 3, 8, 4, 6, outline);
    SetPixel(p, eye + 3, 8, Rgb{236, 236, 240});
  }
  // A wide smile with rosy cheeks.
  DrawLine(p, 14, 22, 20, 25, outline);
  DrawLine(p, 20, 25, 29, 25, outline);
  DrawLine(p, 29, 25, 35, 22, outline);
  FillEllipse(p, 9, 21, 5, 3, cheek);
  FillEllipse(p, 36, 21, 5, 3, cheek);
  // Toes.
  for (int toe : {2, 6, 10, 37, 41, 45}) SetPixel(p, toe, 38, outline);
  return p;
}

}  // namespace

Picture DrawEnemy(int kind) {
  return kind == 0 ? DrawMouse() : DrawFrog();
}

}  // namespace coilrun
