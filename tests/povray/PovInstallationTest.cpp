#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "platform/FileSystem.h"
#include "povray/PovDirectoryChoice.h"
#include "povray/PovInstallation.h"
#include "povray/PovInstallationSource.h"
#include "povray/PovVersionList.h"
#include "TestEnvironment.h"

namespace sc {
namespace {

using test::TempDir;

TEST(PovInstallation, CompareUsesTheLetterOnlyForEqualVersions) {
    const PovInstallation beta('b', "/p", 3.1f, 4);
    EXPECT_GT(beta.Compare(3.1f, 0), 0);
    EXPECT_LT(beta.Compare(3.1f, 'e'), 0);
    EXPECT_EQ(beta.Compare(3.1005f, 'b'), 0);
    EXPECT_LT(beta.Compare(3.5f, 0), 0);
    EXPECT_GT(beta.Compare(3.0f, 'z'), 0);

    // A saved 310 without a minor version reads with letter -1: older than 3.1.
    PovInstallation saved;
    saved.SetVersionTimes100(310, -1);
    EXPECT_LT(saved.Compare(3.1f, 0), 0);
    EXPECT_EQ(saved.VersionTimes100(), 310);
}

TEST(PovInstallation, VersionTimes100RoundTripsForEverySavedValue) {
    for (int n : {300, 302, 310, 350, 360, 370, 371, 380}) {
        PovInstallation record;
        record.SetVersionTimes100(n, 0);
        EXPECT_EQ(record.VersionTimes100(), n);
        // A choice read back from the settings still equals the parsed version text.
        const std::string text = std::to_string(n / 100) + "." + std::to_string(n % 100 / 10) +
                                 (n % 10 ? std::to_string(n % 10) : "");
        EXPECT_EQ(record.Version(), ParsePovVersionText(text).version) << text;
    }
}

TEST(PovInstallation, ParsesVersionTexts) {
    PovVersionText v = ParsePovVersionText("3.1b5");
    EXPECT_FLOAT_EQ(v.version, 3.1f);
    EXPECT_EQ(v.letter, 'b');
    EXPECT_EQ(v.beta, 5);
    v = ParsePovVersionText("3.1c");
    EXPECT_EQ(v.letter, 'c');
    EXPECT_EQ(v.beta, 0);
    v = ParsePovVersionText("3.02");
    EXPECT_FLOAT_EQ(v.version, 3.02f);
    EXPECT_EQ(v.letter, 0);
    v = ParsePovVersionText("garbage");
    EXPECT_EQ(v.version, 0.0f);
    EXPECT_EQ(ParsePovVersionText("3.1B12").beta, 12);
}

TEST(PovVersionList, TextsAndOrder) {
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
    ASSERT_EQ(list.Items().size(), 4u);
    EXPECT_EQ(list.Items()[0].record.Home(), "/old");
    EXPECT_EQ(list.Items()[1].record.Home(), "/oldbeta");
    EXPECT_EQ(list.Items()[2].record.Home(), "/b4");
    EXPECT_EQ(list.Items()[3].record.Home(), "/b5");
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
    std::vector<std::string> texts;
    for (const auto& item : list.Items()) texts.push_back(item.text + " " + item.record.Home());
    EXPECT_EQ(texts, (std::vector<std::string>{"Version 3.1c " + legacy, "Version 3.0x " + v302,
                                                "Version 3.10b Beta 4 " + b4, "Version 3.10b Beta 5 " + b5}));
    EXPECT_EQ(list.RefusedHome(), b5);

    PovInstallation record('c', legacy, 3.1f, 0);
    EXPECT_TRUE(IsInstalled(records, record));
    record = PovInstallation(0, legacy + "/", 3.0f, 0);
    EXPECT_TRUE(IsInstalled(records, record));
    record = PovInstallation(0, v302, 3.02f, 0);
    EXPECT_TRUE(IsInstalled(records, record));
    record = PovInstallation('b', b4, 3.1f, 4);
    EXPECT_TRUE(IsInstalled(records, record));
    // A saved 3.1 beta 4 comes back with beta 0 and no longer matches.
    record.SetVersionTimes100(310, 'b');
    record.SetBeta(0);
    EXPECT_FALSE(IsInstalled(records, record));
    EXPECT_FALSE(IsInstalled(records, PovInstallation(0, homes.dir / "gone", 3.6f, 0)));
}

TEST(PovVersionList, LegacyHomeAloneIsListedAsThreeZero) {
    Homes homes;
    PovInstallationRecords records;
    records.legacyHome = homes.Make("legacy");
    PovVersionList list;
    list.Fill(records);
    ASSERT_EQ(list.Items().size(), 1u);
    EXPECT_EQ(list.Items()[0].text, "Version 3.0x");
    EXPECT_EQ(list.Items()[0].record.Version(), 3.0f);
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

TEST_F(PovDirectoryChoiceTest, OpeningSelectsTheRecordsItem) {
    PovInstallation record(0, new_ + "/", 3.7f, 0);
    PovDirectoryChoice choice(record, records, ui);
    EXPECT_EQ(choice.HomeText(), new_);
    EXPECT_EQ(choice.SelectedItem(), choice.List().FindHome(new_));
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::Version31);
    ASSERT_TRUE(choice.Ok());
    EXPECT_EQ(choice.Result().Home(), new_);
    EXPECT_EQ(choice.Result().VersionTimes100(), 370);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PovDirectoryChoiceTest, RefusedHomeIsTurnedAwayEverywhere) {
    PovDirectoryChoice choice(PovInstallation(0, old_, 3.02f, 0), records, ui);
    choice.SelectItem(choice.List().FindHome(b5_));
    EXPECT_EQ(choice.HomeText(), old_);
    EXPECT_EQ(choice.SelectedItem(), choice.List().FindHome(old_));
    choice.Browse(b5_);
    EXPECT_EQ(choice.HomeText(), old_);
    choice.TypeHome(b5_);
    EXPECT_FALSE(choice.Ok());
    ASSERT_EQ(ui.messages.size(), 4u);
    for (const auto& m : ui.messages) EXPECT_EQ(m.text, PovDirectoryChoice::RefusalMessage());
}

TEST_F(PovDirectoryChoiceTest, RadiosAskBeforeContradictingTheItem) {
    PovDirectoryChoice choice(PovInstallation(0, old_, 3.02f, 0), records, ui);
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::Version30);
    ui.answers = {Answer::No, Answer::Yes};
    choice.ClickVersion31();
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::Version30);
    choice.ClickVersion31();
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::Version31);
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0],
              "Dem angegebenen Verzeichnis wurde die Versionsnummer 3.0x zugeordnet.\n\n"
              "Sind Sie sicher, dass Sie dieses ändern wollen?");
    choice.SelectItem(choice.List().FindHome(new_));
    EXPECT_EQ(choice.HomeText(), new_);
    ui.answers.push_back(Answer::No);
    choice.ClickVersion30();
    EXPECT_EQ(choice.SelectedRadio(), PovDirectoryChoice::Radio::Version31);
    EXPECT_EQ(ui.questions.back(),
              "Dem angegebenen Verzeichnis wurde die Versionsnummer 3.1 (oder höher) zugeordnet.\n\n"
              "Sind Sie sicher, dass Sie dieses ändern wollen?");
    choice.ClickVersion31();  // agrees with the item: no question
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
    EXPECT_EQ(choice.Result().Home(), other);
    EXPECT_EQ(choice.Result().VersionTimes100(), 310);
    EXPECT_EQ(choice.Result().Letter(), 0);
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
    ASSERT_TRUE(records.currentHome.has_value());
    EXPECT_EQ(*records.currentHome, dir / "pov");
    EXPECT_EQ(*records.currentVersionNo, "3.6");
    EXPECT_EQ(PovInstallationProbe::VersionFromOutput("POV-Ray 3.7.0.10.unofficial\n"), "3.7");
    EXPECT_EQ(PovInstallationProbe::VersionFromOutput("nothing here\n"), "");
}

TEST(PovInstallationProbe, FindsTheSystemPovray) {
    if (!FileExists("/usr/bin/povray")) GTEST_SKIP() << "POV-Ray is not installed";
    EXPECT_EQ(PovInstallationProbe::VersionTextOf("/usr"), "3.7");
}

}  // namespace
}  // namespace sc
