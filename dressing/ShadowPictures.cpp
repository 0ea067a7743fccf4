#include "dressing/ShadowPictures.h"

extern "C" const unsigned char tp_shadow5_png[];
extern "C" const unsigned long tp_shadow5_png_size;
extern "C" const unsigned char tp_shadow10_png[];
extern "C" const unsigned long tp_shadow10_png_size;

ImageObject* FirstShadowPicture = nullptr;
ImageObject* SecondShadowPicture = nullptr;

void CreateShadowPictures() {
  if (!FirstShadowPicture) FirstShadowPicture = new ImageObject;
  if (!SecondShadowPicture) SecondShadowPicture = new ImageObject;
}

void DestroyShadowPictures() {
  delete FirstShadowPicture;
  FirstShadowPicture = nullptr;
  delete SecondShadowPicture;
  SecondShadowPicture = nullptr;
}

Bytes ShadowPictureBytes(int width) {
  if (width == 5) return Bytes(tp_shadow5_png, tp_shadow5_png + tp_shadow5_png_size);
  if (width == 10) return Bytes(tp_shadow10_png, tp_shadow10_png + tp_shadow10_png_size);
  return {};
}
