#pragma once
// The drawn shadow's two built-in pictures, black shadows of width 5 and 10. Start-up creates the
// two program-wide objects empty; the drawn shadow decodes each on first use; shutdown destroys them.
#include "loader/ImageObject.h"
#include "text/Param.h"

extern ImageObject* FirstShadowPicture;   // width 5
extern ImageObject* SecondShadowPicture;  // width 10

void CreateShadowPictures();
void DestroyShadowPictures();
// The PNG bytes carried in the program for a shadow of width 5 or 10; empty for any other width.
Bytes ShadowPictureBytes(int width);
