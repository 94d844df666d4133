// The profile object and the error report, on real files in the program's
// folder.
#include <string>

#include "config/config_path.h"
#include "config/ini_files.h"
#include "config/report_error.h"
#include "tests/unit/support.h"

namespace pallix {
namespace {

using test::BoxAnswerer;
using test::FolderPath;
using test::ReadFile;
using test::WriteFile;

class IniFiles : public test::FolderTest {
 protected:
  static INIFiles OnFile(const std::string& name) {
    INIFiles ini;
    ini.SetFileName(FolderPath(name));
    return ini;
  }
};

TEST_F(IniFiles, MissingFileSectionOrKeyGivesTheDefaultAndNoBox) {
  BoxAnswerer boxes;
  EXPECT_EQ(OnFile("missing.ini").ReadINI("WindowTitles", "Num_Windows", "0"), "0");
  WriteFile("a.ini", "[Other]\r\nNum_Windows=4\r\n[WindowTitles]\r\nx=1\r\n");
  EXPECT_EQ(OnFile("a.ini").ReadINI("WindowTitles", "Num_Windows", "0"), "0");
  EXPECT_EQ(OnFile("a.ini").ReadINI("Nowhere", "x", "NoTitle"), "NoTitle");
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST_F(IniFiles, ValuesComeBackAsStoredCutTo255AndEmptyIsNotMissing) {
  std::string long_value(300, 'v');
  long_value[254] = 'E';
  WriteFile("a.ini", "[WindowTitles]\r\nTitle1=" + long_value + "\r\nTitle2=\r\nTitle3=&Yes\r\n");
  INIFiles ini = OnFile("a.ini");
  std::string read = ini.ReadINI("WindowTitles", "Title1", "NoTitle");
  EXPECT_EQ(read, long_value.substr(0, 255));
  EXPECT_EQ(ini.ReadINI("WindowTitles", "Title2", "NoTitle"), "");
  EXPECT_EQ(ini.ReadINI("windowtitles", "TITLE3", "NoTitle"), "&Yes");
}

TEST_F(IniFiles, AWriteIsSeenAtOnceThroughAnotherObjectAndAFailedOneSaysSoWithoutABox) {
  BoxAnswerer boxes;
  INIFiles writer = OnFile("new.ini");
  EXPECT_TRUE(writer.WriteINI("WindowTitles", "Num_Windows", "1"));
  EXPECT_TRUE(writer.WriteINI("WindowTitles", "Title1", "Save changes[&Yes]<<#32770>>"));
  INIFiles reader = OnFile("new.ini");
  EXPECT_EQ(reader.ReadINI("WindowTitles", "Title1", "NoTitle"), "Save changes[&Yes]<<#32770>>");
  writer.WriteINI("WindowTitles", "Num_Windows", "2");
  EXPECT_EQ(reader.ReadINI("WindowTitles", "Num_Windows", "0"), "2");
  EXPECT_EQ(ReadFile("new.ini"),
            "[WindowTitles]\r\nNum_Windows=2\r\nTitle1=Save changes[&Yes]<<#32770>>\r\n");

  // A folder standing where the file should be, and a folder that is missing.
  ASSERT_TRUE(::CreateDirectoryA(FolderPath("dir.ini").c_str(), nullptr));
  EXPECT_FALSE(OnFile("dir.ini").WriteINI("WindowTitles", "Num_Windows", "1"));
  EXPECT_FALSE(OnFile("nowhere\\x.ini").WriteINI("WindowTitles", "Num_Windows", "1"));
  HANDLE held = test::HoldForReading("new.ini");
  EXPECT_FALSE(writer.WriteINI("WindowTitles", "Num_Windows", "3"));
  EXPECT_EQ(reader.ReadINI("WindowTitles", "Num_Windows", "0"), "2");
  ::CloseHandle(held);
  EXPECT_EQ(::GetFileAttributesA(FolderPath("dir.ini").c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_FALSE(test::FileExists("nowhere"));
  EXPECT_TRUE(boxes.Seen().empty());
}

TEST(ErrorReport, ShowsItsBoxThenRaisesTheErrorWithNumberSourceAndText) {
  BoxAnswerer boxes;
  try {
    ReportError(kIniFilesError, "INIFiles:WriteINI Method");
    FAIL() << "the report returned";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.number(), -2147211505);
    EXPECT_EQ(e.source(), "INIFiles:WriteINI Method");
    EXPECT_EQ(e.description(), "An unknown error has occurred!");
  }
  auto seen = boxes.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "ERROR!");
  EXPECT_EQ(seen[0].text,
            "Error # 9999\r\nAn unknown error has occurred!\r\n\r\nINIFiles:WriteINI Method");
  EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(RaisedNumber(0x7FFFFFFF), 0x0003FFFF);
  EXPECT_EQ(ErrorText(-1), "An unknown error has occurred!");
  EXPECT_EQ(ErrorText(70000), "An unknown error has occurred!");
}

TEST(ConfigPathRule, NoSecondBackslashAfterADriveRoot) {
  EXPECT_EQ(ConfigPath("C:\\", "x.ini"), "C:\\x.ini");
  EXPECT_EQ(ConfigPath("C:\\Tools", "x.ini"), "C:\\Tools\\x.ini");
  EXPECT_EQ(ConfigPath("\\\\server\\share", "x.ini"), "\\\\server\\share\\x.ini");
  EXPECT_EQ(ConfigPath("C:\\Tools", ""), "C:\\Tools\\");
}

}  // namespace
}  // namespace pallix
