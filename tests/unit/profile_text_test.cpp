// The profile functions: reading and editing file bytes as Windows does, and
// the kernel32-named calls over the simulated drive. Expected bytes marked
// "measured" are what Windows 10 itself produced for the same calls.
#include "platform/sim/profile_text.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "platform/kernel32.h"
#include "platform/sim/sim.h"
#include "sim_test.h"

namespace pallix {
namespace profile {

// Failures show the text with its NULs rather than the object's bytes.
void PrintTo(const ReadResult& result, std::ostream* out) {
  *out << ::testing::PrintToString(result.text) << " count " << result.count;
}

}  // namespace profile

namespace {

using profile::GetString;
using profile::PutString;

std::string Value(std::string_view file, std::string_view section, std::string_view key,
                  std::string_view fallback = "-", std::uint32_t size = 256) {
  const profile::ReadResult result = GetString(file, section, key, fallback, size);
  EXPECT_EQ(result.count, result.text.size());
  return result.text;
}

// Applies writes in turn, as successive calls on one file do.
std::string Written(std::string file, std::initializer_list<std::pair<const char*, const char*>> kv,
                    const char* section = "s") {
  for (const auto& [key, value] : kv) file = PutString(file, section, key, value).value_or(file);
  return file;
}

TEST(ProfileRead, NamesMatchWithoutCaseAsCodePageLetters) {
  const std::string file = "[Window Titles]\r\nNUM_windows=5\r\n[\xC9t\xE9]\r\n\x8A\x9F=1\r\n";
  EXPECT_EQ(Value(file, "window TITLES", "num_WINDOWS"), "5");
  EXPECT_EQ(Value(file, "\xE9T\xC9", "\x9A\xFF"), "1");  // accented capitals and smalls
  // The multiplication and division signs sit where a capital and a small
  // letter would, but they are no pair.
  EXPECT_EQ(Value("[\xD7]\r\nk=1\r\n", "\xF7", "k"), "-");
}

TEST(ProfileRead, CallerNamesLoseSpacesOnlyFileNamesLoseAllBlanks) {
  const std::string file = "  [ sec ] \r\n \t key \x0B=\t value \x1A\x0C\r\nnb=\xA0x\xA0\r\n";
  EXPECT_EQ(Value(file, "  sec ", " key  "), "value");
  EXPECT_EQ(Value(file, "\tsec", "key"), "-");
  EXPECT_EQ(Value(file, "sec", "key\t"), "-");
  EXPECT_EQ(Value(file, "sec", "nb"), "\xA0x\xA0");  // a no-break space is text
}

TEST(ProfileRead, LinesEndAtCrLfLfOrALoneCr) {
  const std::string file = "[s]\ra=1\nb=2\r\nc=3\n\rd=4";
  EXPECT_EQ(Value(file, "s", "a"), "1");
  EXPECT_EQ(Value(file, "s", "b"), "2");
  EXPECT_EQ(Value(file, "s", "c"), "3");
  EXPECT_EQ(Value(file, "s", "d"), "4");
}

TEST(ProfileRead, OnlyTheFirstSectionAndTheFirstKeyOfANameCount) {
  const std::string file = "[s]\r\na=1\r\nA=2\r\nflag\r\nflag=on\r\n[t]\r\n[S]\r\nb=3\r\n";
  EXPECT_EQ(Value(file, "s", "a"), "1");
  EXPECT_EQ(Value(file, "s", "b"), "-");
  EXPECT_EQ(Value(file, "s", "flag"), "-");  // the line without "=" comes first
}

TEST(ProfileRead, SectionHeaders) {
  EXPECT_EQ(Value("[a]b]\r\nk=v\r\n", "a", "k"), "v");
  EXPECT_EQ(Value("[a]b]\r\nk=v\r\n", "a]b", "k"), "-");
  EXPECT_EQ(Value("[abc   \r\nk=v\r\n", "abc", "k"), "v");
  EXPECT_EQ(Value("[s]k=v\r\n", "s", "k"), "-");
  EXPECT_EQ(Value("[]\r\nk=v\r\n", "", "k"), "v");
  EXPECT_EQ(Value("[;s]\r\nk=v\r\n", ";s", "k"), "v");
}

TEST(ProfileRead, CommentsAndTextBeforeTheFirstSectionAreNoKeys) {
  const std::string file = "k=outside\r\n[s]\r\n;k=1\r\n \t;j=2\r\nv=;kept\r\n";
  EXPECT_EQ(Value(file, "", "k"), "-");
  EXPECT_EQ(Value(file, "s", ";k"), "-");
  EXPECT_EQ(Value(file, "s", "j"), "-");
  EXPECT_EQ(Value(file, "s", "v"), ";kept");
  // A UTF-8 mark makes the first line text before any section.
  EXPECT_EQ(Value("\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k"), "-");
}

TEST(ProfileRead, NulEndsNamesAndValues) {
  const std::string file = std::string("[s\0x]\r\nk=a\0b\r\nn\0m=z\r\n", 21);
  EXPECT_EQ(Value(file, "s", "k"), "a");
  EXPECT_EQ(Value(file, "s", "n"), "z");
}

TEST(ProfileValue, OneMatchingPairOfQuotesGoes) {
  const std::string file =
      "[q]\r\nd= \" two \" \r\ns='one'\r\nm=\"mixed'\r\nlone=\"\r\nnone=\"\"\r\nin=\"'x'\"\r\n";
  EXPECT_EQ(Value(file, "q", "d"), " two ");
  EXPECT_EQ(Value(file, "q", "s"), "one");
  EXPECT_EQ(Value(file, "q", "m"), "\"mixed'");
  EXPECT_EQ(Value(file, "q", "lone"), "\"");
  EXPECT_EQ(Value(file, "q", "none"), "");
  EXPECT_EQ(Value(file, "q", "in"), "'x'");
}

TEST(ProfileValue, CutToSizeLessOneAfterTheQuotesGo) {
  const std::string file = "[s]\r\nk=0123456789\r\nq=\"abcdef\"\r\n";
  EXPECT_EQ(GetString(file, "s", "k", "-", 0), (profile::ReadResult{"", 0}));
  EXPECT_EQ(GetString(file, "s", "k", "-", 1), (profile::ReadResult{"", 0}));
  EXPECT_EQ(GetString(file, "s", "k", "-", 10), (profile::ReadResult{"012345678", 9}));
  EXPECT_EQ(GetString(file, "s", "k", "-", 11), (profile::ReadResult{"0123456789", 10}));
  EXPECT_EQ(GetString(file, "s", "q", "-", 7), (profile::ReadResult{"abcdef", 6}));
  EXPECT_EQ(GetString(file, "s", "q", "-", 4), (profile::ReadResult{"abc", 3}));
}

TEST(ProfileValue, LengthWrapsAtSixteenBitsLikeWindows) {
  const auto of_length = [](std::size_t n) { return "[s]\r\nk=" + std::string(n, 'x') + "\r\n"; };
  EXPECT_EQ(Value(of_length(65535), "s", "k", "-", 70000).size(), 65535u);
  EXPECT_EQ(GetString(of_length(65536), "s", "k", "-", 70000), (profile::ReadResult{"", 0}));
  EXPECT_EQ(Value(of_length(65537), "s", "k", "-", 70000), "x");
}

TEST(ProfileValue, DefaultLosesTrailingSpacesOnlyAndKeepsItsQuotes) {
  EXPECT_EQ(Value("", "s", "k", "NoTitle  "), "NoTitle");
  EXPECT_EQ(Value("", "s", "k", "   "), "");
  EXPECT_EQ(Value("", "s", "k", "x \t"), "x \t");
  EXPECT_EQ(Value("", "s", "k", "\"q\""), "\"q\"");
  EXPECT_EQ(GetString("", "s", "k", "default", 4), (profile::ReadResult{"def", 3}));
  EXPECT_EQ(Value("[s]\r\nk=\r\n", "s", "k", "NoTitle"), "");  // empty is not missing
}

TEST(ProfileLists, NamesEndInNulAndACutListInTwo) {
  const std::string file = "[s]\r\nname1=v\r\nname2=\r\nname3\r\n;c=1\r\nname4=a\r\n[t]\r\n[s]\r\n";
  using R = profile::ReadResult;
  EXPECT_EQ(profile::GetKeyNames(file, "s", "-", 100), (R{{"name1\0name2\0name4\0", 18}, 18}));
  EXPECT_EQ(profile::GetKeyNames(file, "s", "-", 16), (R{{"name1\0name2\0na\0", 15}, 14}));
  EXPECT_EQ(profile::GetKeyNames(file, "t", "none  ", 100), (R{"none", 4}));
  EXPECT_EQ(profile::GetSectionNames(file, 100), (R{{"s\0t\0s\0", 6}, 6}));
  EXPECT_EQ(profile::GetSectionNames(file, 7), (R{{"s\0t\0s\0", 6}, 5}));
  EXPECT_EQ(profile::GetSectionNames(file, 1), (R{"", 0}));
}

TEST(ProfileWrite, NewFilesAndSectionsEndInCrLf) {
  EXPECT_EQ(PutString("", "WindowTitles", "Num_Windows", "1"),
            "[WindowTitles]\r\nNum_Windows=1\r\n");
  EXPECT_EQ(PutString("[a]\r\nx=1", "b", "y", "2"), "[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
  EXPECT_EQ(PutString("[a]\nx=1\n", "b", "y", "2"), "[a]\nx=1\n[b]\r\ny=2\r\n");
  EXPECT_EQ(PutString("[a]\rx=1", "a", "z", "2"), "[a]\rx=1\r\nz=2\r\n");
  EXPECT_EQ(PutString("", "", "k", "v"), "[]\r\nk=v\r\n");
}

TEST(ProfileWrite, AReplacedValueRewritesItsOwnLineOnly) {
  const std::string file = "; top\n[S]\n  MyKey = old \nother =  x\n\n[t]\n";
  EXPECT_EQ(PutString(file, "s", "MYKEY", "new"), "; top\n[S]\nMyKey=new\nother =  x\n\n[t]\n");
  EXPECT_EQ(PutString("[s]\r\nflag\r\n", "s", "flag", "on"), "[s]\r\nflag=on\r\n");
  EXPECT_EQ(PutString("[s]\r\nk=1\r\n[s]\r\nk=2\r\nk=3", "s", "k", "4"),
            "[s]\r\nk=4\r\n[s]\r\nk=2\r\nk=3");
}

TEST(ProfileWrite, AnEqualValueChangesNothingButCaseDoes) {
  EXPECT_EQ(PutString("[s]\r\n  k = v \r\n", "s", "k", "v"), std::nullopt);
  EXPECT_EQ(PutString("[s]\r\nk=v\r\n", "S", "K", "V"), "[s]\r\nk=V\r\n");
}

TEST(ProfileWrite, ValueAsGivenNamesWithoutSpaces) {
  // Measured: "[sec]\r\nkey= value \r\n", and tabs kept in names.
  EXPECT_EQ(PutString("", "   sec   ", "  key  ", " value "), "[sec]\r\nkey= value \r\n");
  EXPECT_EQ(PutString("", " s\t ", "\tk", "v"), "[s\t]\r\n\tk=v\r\n");
}

TEST(ProfileWrite, NewKeysFollowTheLastKeyCommentsAndBlanksStayAfter) {
  // Measured: keys z, ;y, a, ;b, ;c written in turn to an empty file.
  EXPECT_EQ(Written("", {{"z", ""}, {";y", ""}, {"a", ""}, {";b", ""}, {";c", ""}}),
            "[s]\r\nz=\r\na=\r\n;c=\r\n;b=\r\n;y=\r\n");
  // Measured: a file with comments, then z, ;x, y, a, b.
  EXPECT_EQ(Written(";comment0\r\n[s]\r\n;comment1\r\nb=value\r\n;comment2\r\na=value\r\n",
                    {{"z", ""}, {";x", ""}, {"y", ""}, {"a", ""}, {"b", ""}}),
            ";comment0\r\n[s]\r\n;comment1\r\nb=\r\n;comment2\r\na=\r\nz=\r\ny=\r\n;x=\r\n");
  EXPECT_EQ(Written("[s]\r\nx=1\r\n\r\n[t]\r\n", {{"z", "3"}}), "[s]\r\nx=1\r\nz=3\r\n\r\n[t]\r\n");
}

TEST(ProfileWrite, BytesOutsideTheChangeStay) {
  const std::string data("Data \0 before \0 first \0 section", 31);
  EXPECT_EQ(PutString(data, "section1", "key1", "string1"),
            data + "\r\n[section1]\r\nkey1=string1\r\n");  // measured
  EXPECT_EQ(PutString("\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k", "w"),
            "\xEF\xBB\xBF[s]\r\nk=v\r\n[s]\r\nk=w\r\n");
}

TEST(ProfileDelete, KeysLoseTheirLineSectionsKeepTheirComments) {
  EXPECT_EQ(profile::DeleteKey("[s]\r\na=1\r\nb=2\r\n", "s", "A"), "[s]\r\nb=2\r\n");
  EXPECT_EQ(profile::DeleteKey("[s]\r\na=1\r\n", "s", "b"), std::nullopt);
  // Measured: both sections deleted in turn.
  std::string file = ";comment0\r\n[s]\r\n;comment1\r\n[t]\r\n;comment2\r\n";
  file = profile::DeleteSection(file, "s").value_or("unchanged");
  EXPECT_EQ(profile::DeleteSection(file, "t"), ";comment0\r\n;comment1\r\n;comment2\r\n");
  EXPECT_EQ(profile::DeleteSection(file, "missing"), std::nullopt);
}

TEST(ProfileBytes, AnyBytesReadAndTakeAWriteThatReadsBack) {
  std::mt19937 random(20240601);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  for (const std::string& file : {noise, std::string(4096, '\0'), std::string(4096, '[')}) {
    const profile::ReadResult read = GetString(file, "WindowTitles", "Title1", "NoTitle", 256);
    EXPECT_EQ(read.count, read.text.size());
    const std::string value = "Save changes[&Yes]<<#32770>>";
    const std::optional<std::string> written = PutString(file, "WindowTitles", "Title1", value);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(Value(*written, "WindowTitles", "Title1"), value);
    EXPECT_EQ(PutString(*written, "WindowTitles", "Title1", value), std::nullopt);
  }
  const std::string huge(100000, 'y');
  const std::string file = PutString("", "s", "k", huge).value_or("");
  EXPECT_EQ(Value(file, "s", "k"), huge.substr(0, 255));
  EXPECT_EQ(Value(file, "s", "k", "-", 200000).size(), 100000u - 65536u);
}

class ProfileCalls : public testing::SimTest {};

TEST_F(ProfileCalls, NullNamesAskForListsAndNullValuesDelete) {
  testing::WriteFile("C:\\p.ini", "[a]\r\nk=1\r\nj=2\r\n[b]\r\nk=3\r\n");
  char buffer[32];
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, "k", "d", buffer, 32, "C:\\p.ini"), 4u);
  EXPECT_EQ(std::memcmp(buffer, "a\0b\0", 5), 0);
  EXPECT_EQ(GetPrivateProfileStringA("a", nullptr, "d", buffer, 32, "C:\\p.ini"), 4u);
  EXPECT_EQ(std::memcmp(buffer, "k\0j\0", 5), 0);
  EXPECT_EQ(GetPrivateProfileStringA("a", "x", nullptr, buffer, 32, "C:\\p.ini"), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(GetPrivateProfileStringA("a", "k", "d", buffer, 32, nullptr), 1u);
  EXPECT_STREQ(buffer, "d");

  EXPECT_TRUE(WritePrivateProfileStringA("a", "k", nullptr, "C:\\p.ini"));
  EXPECT_TRUE(WritePrivateProfileStringA("b", nullptr, nullptr, "C:\\p.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "v", "C:\\p.ini"));
  EXPECT_FALSE(WritePrivateProfileStringA("a", "k", "v", nullptr));
  EXPECT_EQ(testing::ReadFile("C:\\p.ini"), "[a]\r\nj=2\r\n");
  // Windows leaves an empty file even when a deletion finds nothing.
  EXPECT_TRUE(WritePrivateProfileStringA("a", "k", nullptr, "C:\\new.ini"));
  EXPECT_TRUE(std::filesystem::exists(sim::HostPath("C:\\new.ini")));
  EXPECT_EQ(testing::ReadFile("C:\\new.ini"), "");
}

TEST_F(ProfileCalls, ReadOnlyAndUnchangedFilesAreNotWritten) {
  namespace fs = std::filesystem;
  testing::WriteFile("C:\\p.ini", "[s]\r\nk = v\r\n");
  const fs::path path = sim::HostPath("C:\\p.ini");
  const auto long_ago = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(path, long_ago);
  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "v", "C:\\p.ini"));
  EXPECT_EQ(fs::last_write_time(path), long_ago);

  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "w", "C:\\p.ini"));
  EXPECT_EQ(testing::ReadFile("C:\\p.ini"), "[s]\r\nk = v\r\n");
}

}  // namespace
}  // namespace pallix
