// The library as a web page: valid HTML5, pictures that hold the stored
// previews, hostile names shown as written, and a filter that works in a
// real browser.
#include <gmock/gmock.h>

#include <map>
#include <regex>
#include <sstream>

#include "ExportTestSupport.h"
#include "platform/FileSystem.h"

namespace sc::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct WebExportTest : ExportFixture {
    std::string out = dir / "seite";
    std::string page;

    void SetUp() override {
        SaveList({{"woods.inc", "Oak", "Holz", 16, 16},
                  {"woods.inc", "Pine", "Holz", 0, 0},
                  {"woods.inc", kHostileName, "K<at>", 20, 12},
                  {"gone.inc", "Gone", "", 16, 16}});
        std::string said;
        ASSERT_EQ(Cli("export " + ShellQuoted(listFile) + " -o " + ShellQuoted(out) +
                          " --title 'Meine <Texturen>'",
                      &said),
                  0);
        EXPECT_THAT(said, HasSubstr("4 Einträge mit 3 Vorschaubildern"));
        page = ReadFile(out + "/index.html");
        ASSERT_FALSE(page.empty());
    }
};

TEST_F(WebExportTest, PageIsStrictHtml5AndEveryPictureHoldsTheStoredPreview) {
    // html5lib in strict mode raises on every parse error of the HTML5 syntax.
    std::string images;
    ASSERT_EQ(RunCommand("/usr/bin/python3 -c 'import sys, html5lib\n"
                         "doc = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(open(sys.argv[1], \"rb\"))\n"
                         "print(doc.get(\"lang\"))\n"
                         "for i in doc.iter(\"img\"): print(i.get(\"src\") + \"\\t\" + i.get(\"alt\"))' " +
                             ShellQuoted(out + "/index.html"),
                         &images),
              0)
        << "not valid HTML5, or python3-html5lib is missing (scripts/install-deps.sh installs it)";
    std::istringstream lines(images);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "de");

    LibraryController c(ui);
    ASSERT_TRUE(LoadListFile(c, listFile));
    std::map<std::string, std::string> altBySource;
    while (std::getline(lines, line)) altBySource[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
    ASSERT_EQ(altBySource.size(), 3u) << images;
    int checked = 0;
    for (const auto& [source, alt] : altBySource) {
        // Safe on every file system: a running number and plain ASCII.
        EXPECT_TRUE(std::regex_match(source, std::regex("bilder/[0-9]{4}(-[A-Za-z0-9_-]{1,40})?\\.png"))) << source;
        const std::string name = alt.substr(std::string("Vorschaubild von ").size());
        const std::string stored = name == "<b>&\"x'ä€" ? kHostileName : name;
        RgbPicture written;
        ASSERT_TRUE(DecodePng(ReadFile(out + "/" + source), written)) << source;
        const TextureEntry* entry = EntryNamed(c.Library(), stored);
        ASSERT_NE(entry, nullptr) << name;
        const RgbPicture expected = StoredUpright(*entry);
        EXPECT_EQ(written.width, expected.width) << name;
        EXPECT_EQ(written.height, expected.height) << name;
        EXPECT_TRUE(written.pixels == expected.pixels) << name;
        // Upright: red at the top, blue at the bottom.
        EXPECT_GT(written.pixels[0], 200) << name;
        EXPECT_GT(written.pixels[written.pixels.size() - 1], 200) << name;
        ++checked;
    }
    EXPECT_EQ(checked, 3);
    EXPECT_THAT(page, HasSubstr("Kein Vorschaubild"));  // Pine
    EXPECT_THAT(page, Not(HasSubstr("://"))) << "nothing is loaded from elsewhere";
}

TEST_F(WebExportTest, NamesAreShownAsWrittenAndMissingDeclarationsAreSaid) {
    EXPECT_THAT(page, HasSubstr("<h4>&lt;b&gt;&amp;&quot;x&#39;\xC3\xA4\xE2\x82\xAC</h4>"));
    EXPECT_THAT(page, HasSubstr("<title>Meine &lt;Texturen&gt;</title>"));
    EXPECT_THAT(page, HasSubstr("<h3>K&lt;at&gt;</h3>"));
    EXPECT_THAT(page, Not(HasSubstr("<b>")));
    EXPECT_THAT(page, Not(HasSubstr("\xE4\x80"))) << "no stray 8-bit byte";
    // Oak's declaration in normal form, with the constant it uses, copyable.
    const std::size_t oak = page.find("<h4>Oak</h4>");
    ASSERT_NE(oak, std::string::npos);
    const std::string oakHtml = page.substr(oak, page.find("</article>", oak) - oak);
    EXPECT_THAT(oakHtml, HasSubstr("#declare Brown ="));
    EXPECT_THAT(oakHtml, HasSubstr("#declare Oak ="));
    EXPECT_THAT(oakHtml, HasSubstr("class=\"copy\""));
    EXPECT_THAT(page, HasSubstr("Deklaration NICHT VERFÜGBAR: die Datei wurde nicht gefunden."));  // Gone
    EXPECT_THAT(page, HasSubstr("Deklaration NICHT VERFÜGBAR: sie steht nicht mehr in der Datei."));
    EXPECT_THAT(page, HasSubstr("4 Einträge (4 Texturen) in 2 Dateien und 3 Kategorien"));
    EXPECT_THAT(page, HasSubstr("prefers-color-scheme: dark"));
    // A shared page does not tell where the user keeps the files.
    EXPECT_THAT(page, Not(HasSubstr(dir.Path())));
    EXPECT_THAT(page, HasSubstr("<h2>woods.inc</h2>"));

    // --only exports the named entries alone.
    ASSERT_EQ(Cli("export " + ShellQuoted(listFile) + " -o " + ShellQuoted(dir / "nur") + " --only Pine >/dev/null"), 0);
    const std::string only = ReadFile(dir / "nur/index.html");
    EXPECT_THAT(only, HasSubstr("<h4>Pine</h4>"));
    EXPECT_THAT(only, Not(HasSubstr("<h4>Oak</h4>")));
    std::string error;
    EXPECT_EQ(Cli("export " + ShellQuoted(listFile) + " -o " + ShellQuoted(dir / "x") + " --only Birch 2>&1", &error), 1);
    EXPECT_THAT(error, HasSubstr("Keine der genannten Texturen"));
}

// Chromium from Debian's packages, run headless on the page from a file://
// address with "#filter=" preset: the DOM it leaves shows what the filter hid.
std::string DumpDom(const TempDir& profile, const std::string& url) {
    std::string dom;
    RunCommand("timeout -k 5 90 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
               "--disable-background-networking --disable-component-update --disable-sync "
               "--user-data-dir=" + ShellQuoted(profile.Path()) + " --dump-dom " + ShellQuoted(url) + " 2>/dev/null",
               &dom);
    return dom;
}

// The start tag of the entry whose heading is `heading`.
std::string ArticleTag(const std::string& dom, const std::string& heading) {
    const std::size_t at = dom.find("<h4>" + heading + "</h4>");
    if (at == std::string::npos) return {};
    const std::size_t start = dom.rfind("<article", at);
    return dom.substr(start, dom.find('>', start) - start);
}

TEST_F(WebExportTest, FilterHidesWhatDoesNotMatchInARealBrowser) {
    if (RunCommand("command -v chromium >/dev/null") != 0)
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    TempDir profile;
    std::string dom = DumpDom(profile, "file://" + out + "/index.html#filter=OAK%20holz");
    ASSERT_THAT(dom, HasSubstr("</html>")) << "chromium gave no page";
    EXPECT_THAT(ArticleTag(dom, "Oak"), Not(HasSubstr("hidden")));
    EXPECT_THAT(ArticleTag(dom, "Pine"), HasSubstr("hidden"));
    EXPECT_THAT(ArticleTag(dom, "Gone"), HasSubstr("hidden"));
    EXPECT_THAT(dom, HasSubstr("1 von 4 Einträgen passen"));

    // A character beyond ASCII, written as a Latin-1 byte in the list file.
    dom = DumpDom(profile, "file://" + out + "/index.html#filter=%C3%84");
    EXPECT_THAT(ArticleTag(dom, "&lt;b&gt;&amp;\"x'\xC3\xA4\xE2\x82\xAC"), Not(HasSubstr("hidden"))) << dom;
    EXPECT_THAT(ArticleTag(dom, "Oak"), HasSubstr("hidden"));

    // An address cut or typed by hand is no valid escape; the script goes on
    // and filters by the text as written.
    dom = DumpDom(profile, "file://" + out + "/index.html#filter=100%");
    EXPECT_THAT(dom, HasSubstr("0 von 4 Einträgen passen")) << dom;
}

}  // namespace
}  // namespace sc::test
