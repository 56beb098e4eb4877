// Kugeln 4 x 3
// Vorlage für Texturenübersichten: zwölf Kugeln auf einer Seite, jede mit
// dem Namen ihrer Textur darunter. Die auskommentierte Markierungszeile in
// der Schleife nennt Swatchcraft die Zahl der Kugeln je Seite und das
// Seitenverhältnis; an ihrer Stelle setzt Swatchcraft für jede Kugel die
// Textur (Texture) und ihren Namen (TextureName) ein.

global_settings { assumed_gamma 1.0 }

camera {
  orthographic
  location <0, 0, -100>
  look_at  <0, 0, 0>
  right 48*x
  up 36*y
}

light_source { <-60, 80, -120> color rgb 1 }
light_source { <80, 20, -100> color rgb 0.35 shadowless }

plane { z, 6
  pigment { checker color rgb 0.5 color rgb 0.7 scale 2 }
  finish { ambient 0.6 diffuse 0.4 }
}

#declare i = 1;
#while (i <= 12 & TextureNr <= TexturesCount)
  // #include Swatchcraft 12 4:3
  #declare Centre = <-18 + mod(i - 1, 4)*12, 12 - div(i - 1, 4)*12, 0>;
  sphere { Centre + 1.2*y, 4.2
    #if (IsMaterial = true) material { Texture } #else texture { Texture } #end
  }
  #declare Label = text { ttf "timrom.ttf" TextureName 0.05, 0 }
  #declare LabelWidth = max(max_extent(Label).x - min_extent(Label).x, 0.001);
  #declare LabelScale = min(1.3, 11/LabelWidth);
  object { Label
    pigment { rgb 0 }
    finish { ambient 1 diffuse 0 }
    scale LabelScale
    translate Centre + <-LabelWidth*LabelScale/2, -4.9, -5>
    no_shadow
    no_reflection
  }
  #declare TextureNr = TextureNr + 1;
  #declare i = i + 1;
#end
