// The profile object and the error report, on the simulated file system.
#include <filesystem>
#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "config/report_error.h"
#include "platform/sim/sim.h"
#include "sim_test.h"

namespace pallix {
namespace {

using testing::ReadFile;
using testing::SimTest;
using testing::WriteFile;

class IniFiles : public SimTest {
 protected:
  INIFiles OnFile(const std::string& path) {
    INIFiles ini;
    ini.SetFileName(path);
    return ini;
  }
};

TEST_F(IniFiles, MissingFileSectionOrKeyGivesTheDefaultAndNoBox) {
  INIFiles ini = OnFile("C:\\pallix\\missing.ini");
  std::string count = ini.ReadINI("WindowTitles", "Num_Windows", "0");
  EXPECT_EQ(count, "0");
  EXPECT_EQ(count.size(), 1u);
  WriteFile("C:\\pallix\\a.ini", "[Other]\r\nNum_Windows=4\r\n[WindowTitles]\r\nx=1\r\n");
  EXPECT_EQ(OnFile("C:\\pallix\\a.ini").ReadINI("WindowTitles", "Num_Windows", "0"), "0");
  EXPECT_EQ(OnFile("C:\\pallix\\a.ini").ReadINI("Nowhere", "x", "NoTitle"), "NoTitle");
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(IniFiles, ValuesComeBackAsStoredCutTo255AndEmptyIsNotMissing) {
  std::string long_value(300, 'v');
  long_value[254] = 'E';
  WriteFile("C:\\pallix\\a.ini",
            "[WindowTitles]\r\nTitle1=" + long_value + "\r\nTitle2=\r\nTitle3=&Yes\r\n");
  INIFiles ini = OnFile("C:\\pallix\\a.ini");
  std::string read = ini.ReadINI("WindowTitles", "Title1", "NoTitle");
  EXPECT_EQ(read.size(), 255u);
  EXPECT_EQ(read, long_value.substr(0, 255));
  EXPECT_EQ(ini.ReadINI("WindowTitles", "Title2", "NoTitle"), "");
  EXPECT_EQ(ini.ReadINI("windowtitles", "TITLE3", "NoTitle"), "&Yes");
}

TEST_F(IniFiles, AWriteIsSeenAtOnceThroughAnotherObjectOnThePath) {
  INIFiles writer = OnFile("C:\\pallix\\new.ini");
  writer.WriteINI("WindowTitles", "Num_Windows", "1");
  writer.WriteINI("WindowTitles", "Title1", "Save changes[&Yes]<<#32770>>");
  INIFiles reader = OnFile("C:\\pallix\\new.ini");
  EXPECT_EQ(reader.ReadINI("WindowTitles", "Title1", "NoTitle"), "Save changes[&Yes]<<#32770>>");
  writer.WriteINI("WindowTitles", "Num_Windows", "2");
  EXPECT_EQ(reader.ReadINI("WindowTitles", "Num_Windows", "0"), "2");
  EXPECT_EQ(ReadFile("C:\\pallix\\new.ini"),
            "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=Save changes[&Yes]<<#32770>>\r\n");
}

TEST_F(IniFiles, AFailedWriteIsSilentAndStoresNothing) {
  // A folder standing where the file should be, and a folder that is missing.
  std::filesystem::create_directories(sim::HostPath("C:\\pallix\\dir.ini"));
  OnFile("C:\\pallix\\dir.ini").WriteINI("WindowTitles", "Num_Windows", "1");
  OnFile("C:\\nowhere\\x.ini").WriteINI("WindowTitles", "Num_Windows", "1");
  EXPECT_TRUE(sim::MessageBoxes().empty());
  EXPECT_TRUE(std::filesystem::is_directory(sim::HostPath("C:\\pallix\\dir.ini")));
  EXPECT_FALSE(std::filesystem::exists(sim::HostPath("C:\\nowhere")));
  EXPECT_EQ(OnFile("C:\\pallix\\dir.ini").ReadINI("WindowTitles", "Num_Windows", "0"), "0");
}

TEST_F(IniFiles, AFailureInsideAMemberIsShownOnceThenRaisedToTheCaller) {
  WriteFile("C:\\pallix\\a.ini", "[WindowTitles]\r\nNum_Windows=1\r\n");
  INIFiles ini = OnFile("C:\\pallix\\a.ini");
  sim::FailNextProfileCall();
  try {
    ini.WriteINI("WindowTitles", "Num_Windows", "2");
    FAIL() << "the failure was swallowed";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.number(), -2147211505);
    EXPECT_EQ(e.source(), "INIFiles:WriteINI Method");
    EXPECT_EQ(e.description(), "An unknown error has occurred!");
  }
  ASSERT_EQ(sim::MessageBoxes().size(), 1u);
  const sim::ShownBox& box = sim::MessageBoxes()[0];
  EXPECT_EQ(box.text,
            "Error # 9999\r\nAn unknown error has occurred!\r\n\r\nINIFiles:WriteINI Method");
  EXPECT_EQ(box.caption, "ERROR!");
  EXPECT_EQ(box.style, 0x10u);
  EXPECT_EQ(ReadFile("C:\\pallix\\a.ini"), "[WindowTitles]\r\nNum_Windows=1\r\n");

  sim::FailNextProfileCall();
  EXPECT_THROW(ini.ReadINI("WindowTitles", "Num_Windows", "0"), RaisedError);
  ASSERT_EQ(sim::MessageBoxes().size(), 2u);
  EXPECT_TRUE(sim::MessageBoxes()[1].text.ends_with("\r\n\r\nINIFiles:ReadINI Method"));
  // The object keeps working after a failure.
  EXPECT_EQ(ini.ReadINI("WindowTitles", "Num_Windows", "0"), "1");
}

using ErrorReport = SimTest;

TEST_F(ErrorReport, TextComesFromTheStringTableWhenItHasTheNumber) {
  EXPECT_EQ(ErrorText(9999), "An unknown error has occurred!");
  sim::SetStringTable({{9999, "The file is locked."}});
  EXPECT_EQ(ErrorText(9999), "The file is locked.");
  EXPECT_EQ(ErrorText(-1), "An unknown error has occurred!");
  EXPECT_EQ(ErrorText(70000), "An unknown error has occurred!");
}

TEST_F(ErrorReport, RaisedNumbersWrapInThirtyTwoBits) {
  EXPECT_EQ(RaisedNumber(9999), -2147211505);
  EXPECT_EQ(RaisedNumber(0x7FFFFFFF), 0x0003FFFF);
  EXPECT_EQ(RaisedNumber(-1), static_cast<std::int32_t>(0x8003FFFFu));
}

TEST(ConfigPathRule, NoSecondBackslashAfterADriveRoot) {
  EXPECT_EQ(ConfigPath("C:\\", "x.ini"), "C:\\x.ini");
  EXPECT_EQ(ConfigPath("C:\\Tools", "x.ini"), "C:\\Tools\\x.ini");
  EXPECT_EQ(ConfigPath("\\\\server\\share", "x.ini"), "\\\\server\\share\\x.ini");
  // An empty chooser names the folder itself.
  EXPECT_EQ(ConfigPath("C:\\Tools", ""), "C:\\Tools\\");
}

}  // namespace
}  // namespace pallix
