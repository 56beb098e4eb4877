// Shows the planet with a third of its surface under water.
#declare Water_Ratio = 1/3;
#declare Ice_Line = 0.8;
#include "planet.inc"

camera { location <0, 0, -4> look_at 0 }
light_source { <-20, 20, -20> rgb 1 }
sphere { 0, 1 pigment { Planet_Surface } }
