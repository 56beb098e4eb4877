// The game's scene: settings first, then the textures that use them.
#include "colors.inc"
#include "settings.inc"
#include "terrain_textures.inc"

camera { location <0, 2, -5> look_at 0 }
light_source { <10, 20, -10> color White }
plane { y, 0 texture { Grass } }
sphere { <0, 1, 0>, 1 texture { Dirt } }
