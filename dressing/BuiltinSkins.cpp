#include "dressing/BuiltinSkins.h"

#define SKIN(n, v)                            \
  extern "C" const unsigned char Skin##n##_##v[]; \
  extern "C" const unsigned long Skin##n##_##v##_size;
#define SKINS(n) SKIN(n, 1) SKIN(n, 2)
SKINS(1) SKINS(2) SKINS(3) SKINS(4) SKINS(5) SKINS(6) SKINS(7) SKINS(8) SKINS(9)
#undef SKINS
#undef SKIN

namespace {
struct Blob {
  const unsigned char* data;
  const unsigned long* size;
};
#define SKIN(n) {{Skin##n##_1, &Skin##n##_1_size}, {Skin##n##_2, &Skin##n##_2_size}}
const Blob kSkins[9][2] = {SKIN(1), SKIN(2), SKIN(3), SKIN(4), SKIN(5), SKIN(6), SKIN(7), SKIN(8), SKIN(9)};
#undef SKIN
}  // namespace

Bytes BuiltinSkin(int number, int variant) {
  if (number < 1 || number > 9 || variant < 1 || variant > 2) return {};
  const Blob& blob = kSkins[number - 1][variant - 1];
  return Bytes(blob.data, blob.data + *blob.size);
}
