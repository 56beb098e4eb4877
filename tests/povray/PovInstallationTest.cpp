#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <tuple>

#include "platform/FileSystem.h"
#include "povray/PovDirectoryChoice.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionCache.h"
#include "povray/PovVersionList.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::TempDir;
using Strings = std::vector<std::string>;

// The homes of the list's items, in order.
Strings HomesOf(const PovVersionList& list) {
    Strings homes;
    for (const auto& item : list.Items()) homes.push_back(item.record.Home());
    return homes;
}

TEST(PovInstallation, CompareUsesTheLetterOnlyForEqualVersions) {
    const PovInstallation beta('b', "/p", 3.1f, 4);
    // Version, letter, sign of the comparison.
    for (const auto& [version, letter, sign] : std::vector<std::tuple<float, int, int>>{
             {3.1f, 0, 1}, {3.1f, 'e', -1}, {3.1005f, 'b', 0}, {3.5f, 0, -1}, {3.0f, 'z', 1}}) {
        const int compared = beta.Compare(version, static_cast<char>(letter));
        EXPECT_EQ((compared > 0) - (compared < 0), sign) << version << " " << letter;
    }

    // A saved 310 without a minor version reads with letter -1: older than 3.1.
    PovInstallation saved;
    saved.SetVersionTimes100(310, -1);
    EXPECT_LT(saved.Compare(3.1f, 0), 0);
    EXPECT_EQ(saved.VersionTimes100(), 310);
    for (int n : {300, 302, 310, 350, 360, 370, 371, 380}) {
        saved.SetVersionTimes100(n, 0);
        EXPECT_EQ(saved.VersionTimes100(), n);
        // A choice read back from the settings still equals the parsed version text.
        const std::string text = std::to_string(n / 100) + "." + std::to_string(n % 100 / 10) +
                                 (n % 10 ? std::to_string(n % 10) : "");
        EXPECT_EQ(saved.Version(), ParsePovVersionText(text).version) << text;
    }
}

TEST(PovVersionList, ParsedTextsListTextsAndOrder) {
    // A German user's locale must not turn "3.1" into 3 or "Version 3,7".
    test::GermanLocale german;
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 is missing: run scripts/install-deps.sh";
    for (const auto& [text, version, letter, beta] : std::vector<std::tuple<const char*, float, int, int>>{
             {"3.1b5", 3.1f, 'b', 5}, {"3.1c", 3.1f, 'c', 0}, {"3.02", 3.02f, 0, 0}, {"garbage", 0.0f, 0, 0},
             {"3.1B12", 3.1f, 'b', 12}, {"3.7.0.10", 3.7f, '.', 0}}) {
        const PovVersionText parsed = ParsePovVersionText(text);
        EXPECT_EQ(std::tuple(parsed.version, std::tolower(parsed.letter), parsed.beta), std::tuple(version, letter, beta))
            << text;
    }
    EXPECT_EQ(PovVersionList::VersionText(3.1f, 'b', 5), "Version 3.10b Beta 5");
    EXPECT_EQ(PovVersionList::VersionText(3.1f, 'c', 0), "Version 3.1c");
    EXPECT_EQ(PovVersionList::VersionText(3.7f, 0, 0), "Version 3.7");
    EXPECT_EQ(PovVersionList::VersionText(3.1f, 0, 2), "Version 3.10");
    EXPECT_EQ(PovVersionList::VersionText(3.02f, 0, 0), "Version 3.0x");

    PovVersionList list;
    list.AddVersion(3.1f, 'b', 4, "/b4");
    list.AddVersion(3.0f, 0, 0, "/old");      // before the newer item with a higher beta
    list.AddVersion(3.1f, 'b', 5, "/b5");     // no item has a higher beta: at the end
    list.AddVersion(3.0f, 0, 2, "/oldbeta");  // an equal version never counts as newer
    EXPECT_EQ(HomesOf(list), (Strings{"/old", "/oldbeta", "/b4", "/b5"}));
    EXPECT_EQ(list.RefusedHome(), "/b5");
}

struct Homes {
    TempDir dir;
    std::string Make(const std::string& name) const {
        const std::string home = dir / name;
        CreateDirectories(home + "/bin");
        dir.Write(name + "/bin/povray", "#!/bin/sh\n");
        chmod((home + "/bin/povray").c_str(), 0755);
        return home;
    }
};

TEST(PovVersionList, FillReproducesTheRecordedCases) {
    Homes homes;
    const std::string b4 = homes.Make("b4"), legacy = homes.Make("legacy"), b5 = homes.Make("b5"),
                      v302 = homes.Make("v302"), c = homes.Make("c");
    PovInstallationRecords records;
    records.beta4Home = b4;
    records.legacyHome = legacy + "/";
    records.currentHome = legacy;  // the same home under two keys is listed once
    records.currentVersionNo = "3.1c";
    records.versions = {{"V3.02", v302, std::nullopt},
                        {"v3.1", b5, "3.1b5"},
                        {"x3.5", c, "3.5"},                        // not a version entry
                        {"v3.6", homes.dir / "gone", "3.6"},       // home missing
                        {"v3.1c", legacy, "3.1c"}};                // the current home again
    PovVersionList list;
    list.Fill(records);
    Strings items;
    for (const auto& item : list.Items()) items.push_back(item.text + " " + item.record.Home());
    EXPECT_EQ(items, (Strings{"Version 3.1c " + legacy, "Version 3.0x " + v302, "Version 3.10b Beta 4 " + b4,
                              "Version 3.10b Beta 5 " + b5}));
    EXPECT_EQ(list.RefusedHome(), b5);

    for (const PovInstallation& record : {PovInstallation('c', legacy, 3.1f, 0), PovInstallation(0, legacy + "/", 3.0f, 0),
                                          PovInstallation(0, v302, 3.02f, 0), PovInstallation('b', b4, 3.1f, 4)})
        EXPECT_TRUE(IsInstalled(records, record)) << record.Home();
    // A saved 3.1 beta 4 comes back with beta 0 and no longer matches.
    PovInstallation record('b', b4, 3.1f, 4);
    record.SetVersionTimes100(310, 'b');
    record.SetBeta(0);
    EXPECT_FALSE(IsInstalled(records, record));
    EXPECT_FALSE(IsInstalled(records, PovInstallation(0, homes.dir / "gone", 3.6f, 0)));

    // A legacy home alone is listed as 3.0.
    PovInstallationRecords legacyOnly;
    legacyOnly.legacyHome = legacy;
    PovVersionList alone;
    alone.Fill(legacyOnly);
    ASSERT_EQ(alone.Items().size(), 1u);
    EXPECT_EQ(alone.Items()[0].text + " " + alone.Items()[0].record.Home(), "Version 3.0x " + legacy);
    EXPECT_EQ(alone.Items()[0].record.Version(), 3.0f);
}

class PovDirectoryChoiceTest : public testing::Test {
protected:
    void SetUp() override {
        old_ = homes.Make("old");
        new_ = homes.Make("new");
        b5_ = homes.Make("b5");
        records.currentHome = new_;
        records.currentVersionNo = "3.7";
        records.versions = {{"v3.02", old_, "3.02"}, {"v3.1", b5_, "3.1b5"}};
    }
    Homes homes;
    std::string old_, new_, b5_;
    PovInstallationRecords records;
    test::RecordingUserInterface ui;
};

TEST_F(PovDirectoryChoiceTest, RefusedHomeIsTurnedAwayAndRadiosAskBeforeContradictingTheItem) {
    PovDirectoryChoice choice(PovInstallation(0, old_, 3.02f, 0), records, ui);
    choice.SelectItem(choice.List().FindHome(b5_));
    EXPECT_EQ(std::tuple(choice.HomeText(), choice.SelectedItem()), std::tuple(old_, choice.List().FindHome(old_)));
    choice.Browse(b5_);
    EXPECT_EQ(choice.HomeText(), old_);
    choice.TypeHome(b5_);
    EXPECT_FALSE(choice.Ok());
    ASSERT_EQ(ui.messages.size(), 4u);
    for (const auto& m : ui.messages) EXPECT_EQ(m.text, PovDirectoryChoice::RefusalMessage());

    // The radios ask before contradicting the item.
    PovDirectoryChoice radios(PovInstallation(0, old_, 3.02f, 0), records, ui);
    EXPECT_EQ(radios.SelectedRadio(), PovDirectoryChoice::Radio::Version30);
    ui.answers = {Answer::No, Answer::Yes};
    radios.ClickVersion31();
    EXPECT_EQ(radios.SelectedRadio(), PovDirectoryChoice::Radio::Version30);
    radios.ClickVersion31();
    EXPECT_EQ(radios.SelectedRadio(), PovDirectoryChoice::Radio::Version31);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0],
              "Dem angegebenen Verzeichnis wurde die Versionsnummer 3.0x zugeordnet.\n\n"
              "Sind Sie sicher, dass Sie dieses ändern wollen?");
    radios.SelectItem(radios.List().FindHome(new_));
    EXPECT_EQ(radios.HomeText(), new_);
    ui.answers.push_back(Answer::No);
    radios.ClickVersion30();
    EXPECT_EQ(radios.SelectedRadio(), PovDirectoryChoice::Radio::Version31);
    EXPECT_EQ(ui.questions.back(),
              "Dem angegebenen Verzeichnis wurde die Versionsnummer 3.1 (oder höher) zugeordnet.\n\n"
              "Sind Sie sicher, dass Sie dieses ändern wollen?");
    radios.ClickVersion31();  // agrees with the item: no question
    EXPECT_EQ(ui.questions.size(), 3u);
}

TEST_F(PovDirectoryChoiceTest, OkChecksTheFolderTheExecutableAndTheVersion) {
    const std::string plain = homes.dir / "plain";
    CreateDirectories(plain);
    PovDirectoryChoice choice(PovInstallation(), records, ui);
    EXPECT_EQ(choice.SelectedItem(), -1);
    choice.TypeHome(homes.dir / "nowhere/");
    EXPECT_FALSE(choice.Ok());
    choice.TypeHome(plain);
    EXPECT_FALSE(choice.Ok());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, "Das Verzeichnis\n\"" + homes.dir / "nowhere" + "\"\nexistiert nicht.");
    EXPECT_EQ(ui.messages[1].text, "Die ausführbare POV-Ray Datei\n\"" + plain + "/bin/povray\"\nexistiert nicht.");
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Exclamation);

    // An unlisted home with a radio set takes that radio's version.
    const std::string other = homes.Make("other");
    choice.Browse(other + "/");
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::None);
    EXPECT_FALSE(choice.Ok());
    EXPECT_EQ(ui.messages.back().text,
              "Die gewählte POV-Ray Version ist nicht korrekt installiert.\n\n"
              "Ordnen Sie dem gewählten Verzeichnis bitte noch die Versionsnummer zu.");
    choice.ClickVersion31();
    ASSERT_TRUE(choice.Ok());
    EXPECT_EQ(std::tuple(choice.Result().Home(), choice.Result().VersionTimes100(), int{choice.Result().Letter()}),
              std::tuple(other, 310, 0));

    // Opening on a listed home selects its item and takes its version.
    PovDirectoryChoice listed(PovInstallation(0, new_ + "/", 3.7f, 0), records, ui);
    EXPECT_EQ(std::tuple(listed.HomeText(), listed.SelectedItem(), listed.SelectedRadio()),
              std::tuple(new_, listed.List().FindHome(new_), PovDirectoryChoice::Radio::Version31));
    const size_t told = ui.messages.size();
    ASSERT_TRUE(listed.Ok());
    EXPECT_EQ(std::tuple(listed.Result().Home(), listed.Result().VersionTimes100(), ui.messages.size()),
              std::tuple(new_, 370, told));
}

TEST(PovInstallationProbe, FindsHomesOnThePathAndReadsTheirVersion) {
    TempDir dir;
    dir.Write("pov/bin/povray",
              "#!/bin/sh\necho 'povray: cannot open the user configuration file' >&2\n"
              "echo 'POV-Ray 3.6.1.unofficial' >&2\n");
    chmod((dir / "pov/bin/povray").c_str(), 0755);
    const std::string oldPath = std::getenv("PATH");
    setenv("PATH", (dir / "pov/bin:" + oldPath).c_str(), 1);
    const auto homes = PovInstallationProbe::CandidateHomes();
    const PovInstallationRecords records = PovInstallationProbe().Read();
    setenv("PATH", oldPath.c_str(), 1);
    ASSERT_FALSE(homes.empty());
    EXPECT_EQ(homes[0], dir / "pov");
    EXPECT_EQ(records.currentHome.value_or("-") + " " + records.currentVersionNo.value_or("-"), dir / "pov" + " 3.6");
    EXPECT_EQ(PovInstallationProbe::VersionFromOutput("POV-Ray 3.7.0.10.unofficial\n"), "3.7");
    EXPECT_EQ(PovInstallationProbe::VersionFromOutput("nothing here\n"), "");
}

// A stored version holds only for the very executable it was asked of: an
// updated POV-Ray must be asked again, and a damaged cache file is no answer.
TEST(PovVersionCache, KnowsAnExecutableOnlyAsItWasWhenAsked) {
    TempDir dir;
    const std::string first = dir.Write("a/bin/povray", "one");
    const std::string second = dir.Write("b/bin/povray", "two");
    const PovVersionCache cache(dir / "cache/povray-versions");
    EXPECT_FALSE(cache.Find(first)) << "no file yet";
    ASSERT_TRUE(CreateDirectories(dir / "cache"));
    cache.Store(first, "3.7");
    cache.Store(second, "3.6");
    cache.Store(first, "3.8");
    EXPECT_EQ(cache.Find(first).value_or("-"), "3.8");
    EXPECT_EQ(cache.Find(second).value_or("-"), "3.6");
    EXPECT_FALSE(cache.Find(dir / "c/bin/povray"));

    dir.Write("a/bin/povray", "one, updated");
    EXPECT_FALSE(cache.Find(first));
    EXPECT_EQ(cache.Find(second).value_or("-"), "3.6");

    dir.Write("cache/povray-versions", std::string("\t\t\n\tx\n") + std::string(3, '\0') + "\n" + second + "\n");
    EXPECT_FALSE(cache.Find(second));
    cache.Store(second, "3.7");
    EXPECT_EQ(cache.Find(second).value_or("-"), "3.7");
    cache.Store(first, "3.7\tforged");
    EXPECT_FALSE(cache.Find(first));

    // Rewritten in place with the same size and modification time: asked anew.
    cache.Store(first, "3.7");
    struct stat before {};
    ASSERT_EQ(stat(first.c_str(), &before), 0);
    { std::ofstream(first, std::ios::in | std::ios::out | std::ios::binary) << "ONE, UPDATED"; }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, first.c_str(), times, 0), 0);
    EXPECT_FALSE(cache.Find(first));
    // An entry changed on disk ("3.7" become "3.1") is not believed.
    cache.Store(first, "3.7");
    std::string text = test::ReadFile(dir / "cache/povray-versions");
    text.replace(text.rfind("\t3.7\t"), 5, "\t3.1\t");  // the line stored last
    dir.Write("cache/povray-versions", text);
    EXPECT_FALSE(cache.Find(first));
    // A directory where the file belongs is no answer, and no reason to stop.
    ASSERT_TRUE(RemoveFile(dir / "cache/povray-versions"));
    ASSERT_TRUE(CreateDirectories(dir / "cache/povray-versions"));
    EXPECT_FALSE(cache.Find(second));
    cache.Store(second, "3.7");
    EXPECT_FALSE(cache.Find(second));
}

}  // namespace
}  // namespace sc
