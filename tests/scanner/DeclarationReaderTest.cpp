#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/IncludeIndex.h"
#include "library/TextureLibrary.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "scanner/DeclarationBody.h"
#include "scanner/DeclarationCrc.h"
#include "scanner/DeclarationReader.h"
#include "scanner/DeclarationText.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

class DeclarationReaderTest : public ::testing::Test {
protected:
    TextureEntry* Load(const std::string& file, const std::string& name, int kind, bool force = true) {
        TextureEntry* e = library.AddEntry(WithTrailingSeparator(dir.Path()), file, name, kind, {}, 0, nullptr);
        LoadDeclaration(library, *e, force);
        return e;
    }
    static std::string Text(const TextureEntry* e) {
        return e->record && e->record->text ? *e->record->text : std::string("<none>");
    }
    static std::string Dependencies(const TextureEntry* e) {
        std::string names;
        for (const auto* d : e->dependencies) names += d->name + (d->text ? " " : "? ");
        return names;
    }
    // Rewrites a file and makes sure its last-write time differs.
    void Rewrite(const std::string& name, const std::string& contents) {
        const std::string path = dir.Write(name, contents);
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    }

    test::TempDir dir;
    TextureLibrary library;
};

TEST_F(DeclarationReaderTest, BringsTheTextIntoTheNormalForm) {
    dir.Write("n.inc",
              "#declare T =  texture\t{ pigment {color   rgb <1,0,0>} // red\n"
              "   /* finish { phong 1 } */ normal { bumps 0.4 scale 0.2 }\n"
              "}   \n"
              "sphere { 0, 1 }\n");
    EXPECT_EQ(Text(Load("n.inc", "T", 2)),
              "texture {\r\n  pigment {\r\n    color rgb <1,0,0>\r\n  }\r\n  normal {\r\n    bumps 0.4 scale 0.2\r\n"
              "  }\r\n}");
    // Statement words end a declaration at depth 0 once it has content, a '#' too;
    // words that merely start like one do not.
    dir.Write("e.inc", "#declare C = color red 1 boxed sphere {0,1}\n#declare D = pigment { Red }\n#declare P =\n"
                       "  pigment { checker }\n#declare Q = pigment { P } #declare R = 1;\n");
    EXPECT_EQ(Text(Load("e.inc", "C", 4, false)), "color red 1 boxed");
    EXPECT_EQ(Text(Load("e.inc", "P", 3, false)), "pigment {\r\n  checker\r\n}");
    EXPECT_EQ(Text(Load("e.inc", "Q", 3, false)), "pigment {\r\n  P\r\n}");
    // An unterminated block comment leaves no text.
    dir.Write("u.inc", "#declare U = texture { /* never closed\n pigment {}\n");
    EXPECT_EQ(Text(Load("u.inc", "U", 2, false)), "");
}

TEST_F(DeclarationReaderTest, MarksCompatibilityWordsOnlyAsWholeWords) {
    dir.Write("c.inc",
              "#declare A = material { texture { T } interior { ior 1.5 } }\n"
              "#declare B = texture { pigment { halo_x } }\n"
              "#declare H = texture { halo { } }\n"
              "#declare K = pigment { brick }\n"
              "#declare T = texture { pigment { P } }\n");
    const TextureEntry* a = Load("c.inc", "A", 1);
    EXPECT_FALSE(a->acceptedBy30);
    EXPECT_TRUE(a->acceptedBy31);
    const TextureEntry* b = Load("c.inc", "B", 2);
    EXPECT_TRUE(b->acceptedBy31);
    EXPECT_FALSE(Load("c.inc", "H", 2)->acceptedBy31);
    EXPECT_EQ(Load("c.inc", "K", 3)->requiredVersion, 3.0f);
    EXPECT_EQ(Load("c.inc", "T", 2)->requiredVersion, 0.0f);
}

TEST_F(DeclarationReaderTest, ResolvesImageFilesOrMarksThemMissing) {
    dir.Write("maps/wood.gif", "GIF89a");
    dir.Write("img.inc",
              "#declare Near = pigment { image_map { gif \"maps/wood.gif\" } }\n"
              "#declare Gone = pigment { image_map { png \"nowhere.png\" } }\n"
              "#declare Text = pigment { P } #declare S = \"gif\"\n");
    const TextureEntry* near = Load("img.inc", "Near", 3);
    EXPECT_NE(Text(near).find("gif \"" + dir.Path() + "/maps/wood.gif\""), std::string::npos) << Text(near);
    EXPECT_FALSE(near->missingFiles);
    const TextureEntry* gone = Load("img.inc", "Gone", 3);
    EXPECT_NE(Text(gone).find("png \"nowhere.png\" /* DATEI NICHT GEFUNDEN! */"), std::string::npos) << Text(gone);
    EXPECT_TRUE(gone->missingFiles);
    // A file found along the library paths keeps its name, without the marker.
    test::TempDir lib;
    lib.Write("nowhere.png", "png");
    library.SetLibraryPaths({lib.Path()});
    library.ClearIndexes();
    const TextureEntry* found = Load("img.inc", "Gone", 3);
    EXPECT_FALSE(found->missingFiles);
    EXPECT_EQ(Text(found).find("NICHT GEFUNDEN"), std::string::npos);

    // Every type POV-Ray reads is found beside the include file alike, also
    // when the type word is left out and the extension tells it.
    const char* kinds[][2] = {{"jpeg", "a.jpg"}, {"jpeg", "b.jpeg"}, {"tiff", "c.tif"}, {"tiff", "d.tiff"},
                              {"exr", "e.exr"},  {"hdr", "f.hdr"},   {"bmp", "g.bmp"},  {"ppm", "h.ppm"},
                              {"pgm", "i.pgm"},  {"gif", "j.gif"},   {"iff", "k.iff"},  {"sys", "l.sys"},
                              {"tga", "m.tga"},  {"df3", "n.df3"},   {"ttf", "o.ttf"},  {"", "p.JPG"}};
    std::string text;
    for (const auto& [type, name] : kinds) {
        dir.Write(std::string("pics/") + name, "data");
        text += std::string("#declare P_") + (name[0]) + " = pigment { image_map { " + type + " \"" + name + "\" } }\n";
    }
    dir.Write("pics/all.inc", text);
    for (const auto& [type, name] : kinds) {
        const TextureEntry* entry = Load("pics/all.inc", std::string("P_") + name[0], 3);
        EXPECT_NE(Text(entry).find("\"" + dir.Path() + "/pics/" + name + "\""), std::string::npos) << Text(entry);
        EXPECT_FALSE(entry->missingFiles) << name;
    }
}

TEST_F(DeclarationReaderTest, DependenciesComeDeepestFirstAndOnlyFromEarlierDeclarations) {
    dir.Write("d.inc",
              "#declare P_Base = pigment { rgb 1 }\n"
              "#declare T_Base = texture { pigment { P_Base } }\n"
              "#declare A = texture { T_Base scale 2 finish { F_Later } Unknown }\n"
              "#declare F_Later = finish { phong 1 }\n"
              "#declare T_Base = texture { pigment { rgb 0 } }\n");
    const TextureEntry* a = Load("d.inc", "A", 2);
    EXPECT_EQ(Dependencies(a), "P_Base T_Base F_Later? Unknown? ");
    EXPECT_EQ(*a->dependencies[1]->text, "texture {\r\n  pigment {\r\n    P_Base\r\n  }\r\n}");
    // The text box groups the constants by file and names missing ones.
    const std::string box = DeclarationBoxText(*a);
    EXPECT_EQ(box.substr(0, box.find("#declare T_Base")),
              "// >>> A (aus Datei \"d.inc\", Zeile 3) <<<\r\n\r\n// Konstanten aus Datei \"d.inc\"\r\n"
              "#declare P_Base = pigment {\r\n  rgb 1\r\n}\r\n");
    EXPECT_NE(box.find("#declare Unknown = NICHT GEFUNDEN\r\n\r\n#declare A = texture {"), std::string::npos);
    EXPECT_EQ(DeclarationBoxText(*Load("d.inc", "Missing", 2)), "NICHT VERFÜGBAR");
}

TEST_F(DeclarationReaderTest, FollowsIncludeFilesAndStandardIncludes) {
    test::TempDir lib;
    lib.Write("base.inc", "#include \"loop.inc\"\n#declare Lib_P = pigment { Gold }\n");
    lib.Write("loop.inc", "#include \"base.inc\"\n#declare Gold = color rgb <1, 0.8, 0>\n");
    library.SetLibraryPaths({lib.Path(), test::PovIncludeDir()});
    dir.Write("local.inc", "#include \"side.inc\"\n#declare Side_F = finish { Side_G }\n");
    dir.Write("side.inc", "#include \"local.inc\"\n#declare Side_G = 0.5;\n");
    dir.Write("main.inc",
              "#include \"colors.inc\"\n#include \"base.inc\"\n#include \"local.inc\"\n"
              "#declare M = texture { pigment { Lib_P } finish { Side_F } normal { bumps } }\n"
              "#declare Col = color Red * 0.5 + Blue\n");
    const TextureEntry* m = Load("main.inc", "M", 2);
    EXPECT_EQ(Dependencies(m), "Gold Lib_P Side_G Side_F ");
    const TextureEntry* c = Load("main.inc", "Col", 4);
    EXPECT_EQ(Dependencies(c), "Red Blue ");
    EXPECT_EQ(c->color->red, 0.5f);
    EXPECT_EQ(c->color->blue, 1.0f);
    EXPECT_EQ(c->dependencies[0]->origin, test::PovIncludeDir() + "/colors.inc");
    // The standard include is referenced, not copied into the file's index.
    const SourceFile* file = m->sourceFile;
    EXPECT_EQ(file->declarations.front().kind, 0);
    EXPECT_EQ(file->declarations.front().origin, "colors.inc");
    // A name declared only in a standard include resolves without any #include.
    dir.Write("bare.inc", "#declare B = texture { T_Stone1 }\n");
    const std::string bare = Dependencies(Load("bare.inc", "B", 2));
    EXPECT_EQ(bare.substr(bare.size() - 9), "T_Stone1 ");
    EXPECT_EQ(bare.find('?'), std::string::npos) << bare;
}

TEST_F(DeclarationReaderTest, EvaluatesColorsLeftToRight) {
    dir.Write("col.inc",
              "#declare A = color red 1 green 0.5\n"
              "#declare B = color rgb <0.2, 0.4, 0.6> * 2\n"
              "#declare C = color rgbf <1,1,1,0.5>\n"
              "#declare D = color A filter 0.3\n"
              "#declare E = color Nowhere * 2\n"
              "#declare F = color red -0.25 blue 0.5\n");
    // A German user's locale must not read 0.5 as 0.
    test::GermanLocale german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    auto rgb = [&](const char* name) {
        const TextureEntry* e = Load("col.inc", name, 4);
        return FormatFixed(e->color->red, 6) + " " + FormatFixed(e->color->green, 6) + " " +
               FormatFixed(e->color->blue, 6);
    };
    EXPECT_EQ(rgb("A"), "1.000000 0.500000 0.000000");
    EXPECT_EQ(rgb("B"), "0.400000 0.800000 1.200000");
    EXPECT_EQ(rgb("C"), "1.000000 1.000000 1.000000");
    EXPECT_EQ(rgb("D"), "1.000000 0.500000 0.000000");
    EXPECT_EQ(rgb("E"), "0.000000 0.000000 0.000000");
    EXPECT_EQ(rgb("F"), "-0.250000 0.000000 0.500000");

    // Each level names the one below twice: evaluated once per level, not 2^40 times.
    std::string chain = "#declare C0 = color rgb <1, 0, 0>\n";
    for (int i = 1; i <= 40; ++i)
        chain += "#declare C" + std::to_string(i) + " = color C" + std::to_string(i - 1) + " + C" +
                 std::to_string(i - 1) + "\n";
    dir.Write("chain.inc", chain);
    const TextureEntry* top = Load("chain.inc", "C40", 4);
    EXPECT_EQ(top->dependencies.size(), 40u);
    EXPECT_EQ(top->color->red, 1099511627776.0f);
}

TEST_F(DeclarationReaderTest, CrcFollowsDependencyChangesOnDisk) {
    dir.Write("crc.inc", "#declare P = pigment { rgb 1 }\n#declare T = texture { pigment { P } }\n");
    TextureEntry* t = Load("crc.inc", "T", 2);
    const std::uint32_t before = DeclarationCrc(*t);
    EXPECT_EQ(before, Crc32("#declare P = pigment {\r\n  rgb 1\r\n}\r\n#declare T = texture {\r\n  pigment {\r\n"
                            "    P\r\n  }\r\n}"));
    t->previewCrc = before;
    EXPECT_FALSE(IsChanged(*t));
    Rewrite("crc.inc", "#declare P = pigment { rgb 0.5 }\n#declare T = texture { pigment { P } }\n");
    ASSERT_TRUE(LoadDeclaration(library, *t, false));
    EXPECT_EQ(*t->dependencies.at(0)->text, "pigment {\r\n  rgb 0.5\r\n}");
    EXPECT_TRUE(IsChanged(*t));
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(DeclarationCrc(*Load("crc.inc", "None", 2)), 0u);

    // A constant from an ordinary #include file: its change counts, too,
    // though the declaring file itself stays as it was.
    dir.Write("consts.inc", "#declare Size = 2;\n");
    dir.Write("uses.inc", "#include \"consts.inc\"\n#declare U = texture { pigment { rgb 1 } scale Size }\n");
    TextureEntry* u = Load("uses.inc", "U", 2);
    ASSERT_EQ(Dependencies(u), "Size ");
    u->previewCrc = DeclarationCrc(*u);
    Rewrite("consts.inc", "#declare Size = 3;\n");
    ASSERT_TRUE(LoadDeclaration(library, *u, false));
    EXPECT_EQ(*u->dependencies.at(0)->text, "3;");
    EXPECT_TRUE(IsChanged(*u));
}

}  // namespace
}  // namespace sc
