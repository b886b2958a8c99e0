// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged and hostile files through the commands that open them: each gives the program's
// message or a documented fallback, never a crash, and leaves every file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogue/replacement_table.h"
#include "catalogue/target_choice.h"
#include "mfd/byte_io.h"
#include "mfd/delimited_import.h"
#include "mfd/processing_pass.h"
#include "mfd/reader.h"
#include "mfd/record.h"
#include "support/app_fixture.h"
#include "textio/delimited_export.h"

namespace cadenzo {
namespace {

namespace fs = std::filesystem;
using testing::AppFixture;
using testing::FileBuilder;
using testing::FileRefBuilder;
using testing::RecordBuilder;
using Bytes = std::vector<std::uint8_t>;

// Every file under a folder with its bytes, to prove that nothing was written over.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().string()] = testing::ReadText(entry.path());
  }
  return files;
}

Bytes WithRecordCount(int count) {
  Bytes bytes = FileBuilder{}.Build();
  WriteU16(bytes, mfd::kCountOffset, static_cast<std::uint16_t>(count));
  return bytes;
}

// One record, then the block with the chunk bytes changed by edit.
template <typename Edit>
Bytes WithChunk(Edit edit) {
  FileBuilder file{.records = {RecordBuilder{.style = mfd::kMediaStyle},
                               RecordBuilder{.number = 1, .style = 12}}};
  file.fileRefs = std::vector<FileRefBuilder>{{.position = 0, .path = "I:\\Songs\\Hit.mid"}};
  Bytes bytes = file.Build();
  const std::string tag = "FPdt";
  const auto at = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
  edit(bytes, static_cast<std::size_t>(at - bytes.begin()));
  return bytes;
}

struct OpenCase {
  const char* name;
  Bytes bytes;
  std::vector<std::string> messages;
  bool loaded;
  std::vector<std::string> styles;  // the "Style or File" cells, in record order
};

void PrintTo(const OpenCase& c, std::ostream* out) { *out << c.name; }

class HostileOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(HostileOpen, SaysWhatIsWrongAndChangesNoFile) {
  const OpenCase& c = GetParam();
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
  fx.PutFile("hostile.mfd", c.bytes);
  const auto before = Snapshot(fx.dir.Path() / "files");

  ASSERT_NO_THROW(Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs));

  EXPECT_EQ(fx.dialogs.Texts(), c.messages);
  EXPECT_EQ(fx.state.FileLoaded, c.loaded);
  std::vector<std::string> styles;
  for (const Row& row : fx.state.List) styles.emplace_back(row.Cell(col::kStyle));
  EXPECT_EQ(styles, c.styles);
  EXPECT_EQ(Snapshot(fx.dir.Path() / "files"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileOpen,
    ::testing::Values(
        OpenCase{"Empty",
                 {},
                 {"hostile.mfd is not a Music Finder file: it is empty. Open the .mfd file that "
                  "the instrument saved."},
                 false,
                 {}},
        OpenCase{"OneByte",
                 {0x42},
                 {"hostile.mfd is not a Music Finder file: it holds no records the program can "
                  "read. Open the .mfd file that the instrument saved."},
                 false,
                 {}},
        OpenCase{"HeaderOnly", FileBuilder{}.Build(), {}, true, {}},
        OpenCase{"CountLargerThanTheData",
                 FileBuilder{.records = {RecordBuilder{.style = 291}}, .countOverride = 3}.Build(),
                 {"hostile.mfd is damaged: record 2 of 3 is cut off at byte 130. The record "
                  "before it is shown; saving writes only that one."},
                 false,
                 {"Cool Beat"}},
        OpenCase{"Count32767WithoutData",
                 WithRecordCount(32767),
                 {"hostile.mfd is damaged: record 1 of 32767 is cut off at byte 38. No record "
                  "can be shown; saving writes none."},
                 false,
                 {}},
        OpenCase{"FPhdLengthPastTheEnd",
                 [] {
                   Bytes b = FileBuilder{.records = {RecordBuilder{.style = 12}}}.Build();
                   for (const char ch : std::string("FPhd\xFF\xFF\xFF\xF0")) {
                     b.push_back(static_cast<std::uint8_t>(ch));
                   }
                   return b;
                 }(),
                 {},
                 true,
                 {"Pop Rock"}},
        // The chunk ends before its path begins: the path is empty, and nothing past the
        // chunk is read as its path.
        OpenCase{"ChunkLengthBelowFour",
                 WithChunk([](Bytes& b, std::size_t at) { WriteU16(b, at + 4, 1); }),
                 {},
                 true,
                 {"", "Pop Rock"}},
        OpenCase{"PathWithoutItsZeroByte",
                 WithChunk([](Bytes& b, std::size_t at) {
                   // The path runs to the end of the file: its zero and the end mark are gone.
                   b.resize(at + 9 + 16);
                 }),
                 {},
                 true,
                 {"USB:\\Songs\\Hit.mid", "Pop Rock"}},
        OpenCase{"PositionPastTheLastRow",
                 WithChunk([](Bytes& b, std::size_t at) { WriteU16(b, at + 6, 40); }),
                 {},
                 true,
                 {"", "Pop Rock"}},
        OpenCase{"ChunkCutInsideItsHead",
                 WithChunk([](Bytes& b, std::size_t at) { b.resize(at + 7); }),
                 {},
                 true,
                 {"", "Pop Rock"}}),
    [](const ::testing::TestParamInfo<OpenCase>& info) { return std::string(info.param.name); });

// Text fields full of bytes 0x80 to 0xFF are shown as they are and saved back unchanged.
TEST(HostileText, HighBytesInEveryTextFieldSurviveOpenAndSave) {
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}});
  std::string high32, high16;
  for (int i = 0; i < 32; ++i) high32.push_back(static_cast<char>(0x80 + i * 4 + 3));
  for (int i = 0; i < 16; ++i) high16.push_back(static_cast<char>(0xF0 + i));
  const Bytes bytes =
      FileBuilder{.records = {RecordBuilder{
                      .style = 291, .music = high32, .genre = high16, .keywords = high32}},
                  .fileRefs = std::vector<FileRefBuilder>{}}
          .Build();
  fx.PutFile("high.mfd", bytes);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(fx.state.FileLoaded);
  EXPECT_TRUE(fx.dialogs.Texts().empty());
  EXPECT_EQ(fx.state.List[0].Cell(col::kMusic), high32);
  EXPECT_EQ(fx.state.List[0].Cell(col::kGenre), high16);
  EXPECT_EQ(fx.state.List[0].Cell(col::kKeywords), high32);
  Presented(SaveMusicFinderx(fx.state, fx.dialogs, "PSR-S970", false, PassMode::kPreview),
            fx.dialogs);
  const auto record = [](const Bytes& image) {
    const auto at = image.begin() + static_cast<std::ptrdiff_t>(mfd::RecordOffset(1));
    return Bytes(at, at + static_cast<std::ptrdiff_t>(mfd::kRecordSize));
  };
  ASSERT_GE(fx.state.SaveBytes.size(), bytes.size());
  const Bytes saved = record(fx.state.SaveBytes);
  const Bytes original = record(bytes);
  for (std::size_t i = 0; i < mfd::kRecordSize; ++i) {
    EXPECT_EQ(saved[i], original[i]) << "byte " << i;
  }
}

// What is not a readable regular file is refused with the open procedure's message.
TEST(HostilePaths, AFolderOrAnUnreadableFileIsNotOpened) {
  AppFixture fx;
  fx.state.CurrentFilePath = fx.dir.Str() + "app";
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{"Could not find that file "});
  EXPECT_FALSE(fx.state.FileLoaded);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  fx.dialogs.messages.clear();
  const std::string path = fx.PutFile("locked.mfd", FileBuilder{}.Build());
  ::chmod(path.c_str(), 0);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ::chmod(path.c_str(), 0644);
  EXPECT_EQ(fx.dialogs.Texts(), std::vector<std::string>{"Could not find that file "});
  EXPECT_FALSE(fx.state.FileLoaded);
}

// Devices and pipes given as the file: one that never ends is refused once it is larger than
// any file of its kind, and a pipe nobody writes to reads as empty instead of stopping the
// program.
struct DeviceCase {
  const char* name;
  std::function<std::string(const testing::TempDir&)> path;
};

void PrintTo(const DeviceCase& c, std::ostream* out) { *out << c.name; }

std::string PipeWithoutWriter(const testing::TempDir& dir) {
  const std::string path = dir.Str() + "pipe";
  if (::mkfifo(path.c_str(), 0600) != 0) ADD_FAILURE() << "no pipe";
  return path;
}

class HostileDevice : public ::testing::TestWithParam<DeviceCase> {
 protected:
  void SetUp() override {
    if (!fs::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
  }
};

TEST_P(HostileDevice, IsNotOpenedAsAMusicFinderFile) {
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}});
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  const Bytes before = fx.state.FileBytes;
  fx.dialogs.messages.clear();
  fx.state.CurrentFilePath = GetParam().path(fx.dir);
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_EQ(fx.dialogs.Texts().size(), 1u);
  EXPECT_NE(fx.dialogs.Texts()[0].find(" is not a Music Finder file: it is "), std::string::npos)
      << fx.dialogs.Texts()[0];
  EXPECT_EQ(fx.state.FileBytes, before);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, HostileDevice,
    ::testing::Values(DeviceCase{"EndlessDevice", [](const auto&) { return "/dev/zero"; }},
                      DeviceCase{"EmptyDevice", [](const auto&) { return "/dev/null"; }},
                      DeviceCase{"PipeWithoutWriter", PipeWithoutWriter}),
    [](const ::testing::TestParamInfo<DeviceCase>& info) { return std::string(info.param.name); });

TEST(HostileImportPath, AnEndlessDeviceIsNotImported) {
  if (!fs::exists("/dev/zero")) GTEST_SKIP() << "no /dev/zero";
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}});
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  fx.dialogs.messages.clear();
  fx.dialogs.QueueFile("/dev/zero");
  EXPECT_EQ(Presented(ImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs).imported, 0);
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{"Error #: 7, Out of memory, encountered in Function "
                                     "ImportTextDelimitedFile. If the solution is not obvious, "
                                     "please report this to the author."});
  EXPECT_EQ(fx.state.List.Size(), 1u);
}

// Style lists with malformed lines, bare line feeds, NUL bytes and runaway lines: the style
// lookups read what they can and the open file keeps its rows.
struct ListCase {
  const char* name;
  std::string list;
  std::vector<std::string> styles;  // the "Style or File" cells of records 291 and 12
  std::vector<std::string> messages;
};

void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }

class HostileStyleList : public ::testing::TestWithParam<ListCase> {};

// Messages with the application folder written as "<app>", so that cases can name its files.
std::vector<std::string> WithAppFolderShort(std::vector<std::string> texts,
                                            const std::string& appPath) {
  for (std::string& text : texts) {
    for (auto at = text.find(appPath); at != std::string::npos; at = text.find(appPath)) {
      text.replace(at, appPath.size(), "<app>");
    }
  }
  return texts;
}

std::string UnreadableList(const std::string& reason) {
  return "The style list <app>PSR-S970.dat cannot be read: it " + reason +
         ". Its styles are not known. Save it again as plain text, or put back the list that "
         "came with the program.";
}

TEST_P(HostileStyleList, ReadsWhatItCan) {
  const ListCase& c = GetParam();
  AppFixture fx;
  fx.dir.Write("app/PSR-S970.dat", c.list);
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291},
                                               RecordBuilder{.number = 1, .style = 12}}}
                           .Build());
  const auto before = Snapshot(fx.dir.Path() / "app");
  ASSERT_NO_THROW(Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs));
  EXPECT_TRUE(fx.state.FileLoaded);
  std::vector<std::string> styles;
  for (const Row& row : fx.state.List) styles.emplace_back(row.Cell(col::kStyle));
  EXPECT_EQ(styles, c.styles);
  EXPECT_EQ(WithAppFolderShort(fx.dialogs.Texts(), fx.state.AppPath), c.messages);
  EXPECT_EQ(Snapshot(fx.dir.Path() / "app"), before);
}

const std::string kRunaway(1 << 20, 'x');

// The first open selects the file's model as the target, whose list then fills the editor's
// style list; a line it cannot read is reported with the line read before it.
std::string SetupError(const std::string& lastGood) {
  return "Error #: 13, Type mismatch, encountered in Function    setupCboStyle  " + lastGood +
         ". If the solution is not obvious, please report this to the author.";
}

INSTANTIATE_TEST_SUITE_P(
    Lists, HostileStyleList,
    ::testing::Values(
        ListCase{"BareLineFeeds", "Cool Beat;291\nPop Rock;12\n", {"Cool Beat", "Pop Rock"}, {}},
        // A list with zero bytes is no text: it is named once, and its styles are not known.
        ListCase{"NulBytes",
                 std::string("Cool\0Beat;291\r\nPop Rock;1\0002\r\n", 29),
                 {"0291", "0012"},
                 {UnreadableList("is not a text file (it holds zero bytes)")}},
        ListCase{"RunawayLine", kRunaway + ";291\r\nPop Rock;12\r\n", {kRunaway, "Pop Rock"}, {}},
        ListCase{"NumbersThatAreNoNumbers",
                 "Cool Beat;99999999999999999999\r\nPop Rock;-12\r\n",
                 {"0291", "0012"},
                 {SetupError("  ")}},
        ListCase{"NoLastLineEnd", "Cool Beat;291\r\nPop Rock;12", {"Cool Beat", "Pop Rock"}, {}}),
    [](const ::testing::TestParamInfo<ListCase>& info) { return std::string(info.param.name); });

// Import texts with malformed lines, bare line feeds, NUL bytes and runaway lines.
struct ImportCase {
  const char* name;
  std::string text;
  int imported;
  std::vector<std::string> messages;
};

void PrintTo(const ImportCase& c, std::ostream* out) { *out << c.name; }

std::string ImportLine(const std::string& style, const std::string& music = "Song") {
  return " 1\tPop\t" + music + "\t" + style + "\t4/4\t120\tkw\tNo\tNo\tNo\tIntro 1\tMain A\r\n";
}

class HostileImport : public ::testing::TestWithParam<ImportCase> {};

TEST_P(HostileImport, ImportsWhatItCanAndChangesNoFile) {
  const ImportCase& c = GetParam();
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}, {"Pop Rock", "12"}});
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  ASSERT_TRUE(fx.state.FileLoaded);
  fx.dialogs.messages.clear();
  const std::string textPath = fx.dir.Write("files/import.txt", c.text).string();
  const auto before = Snapshot(fx.dir.Path() / "files");
  fx.dialogs.QueueFile(textPath);

  const ImportResult result = Presented(ImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs);

  EXPECT_EQ(result.imported, c.imported);
  EXPECT_EQ(fx.dialogs.Texts(), c.messages);
  EXPECT_EQ(fx.state.List.Size(), 1u + static_cast<std::size_t>(c.imported));
  EXPECT_EQ(HeaderCount(fx.state.FileBytes), 1 + c.imported);
  EXPECT_EQ(fx.state.FileBytes.size(), mfd::RecordOffset(2 + c.imported));
  EXPECT_EQ(Snapshot(fx.dir.Path() / "files"), before);
}

const std::string kOneFieldLine = "just one field\r\n";

std::string LineProblem(int line, const std::string& text) {
  return std::string(kImportLineProblem) + std::to_string(line) + "\r\n" + text;
}

std::string ImportError(int number, const char* description, const std::string& name) {
  return "Error #: " + std::to_string(number) + ", " + description + ", encountered in Function " +
         name + ". If the solution is not obvious, please report this to the author.";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostileImport,
    ::testing::Values(
        ImportCase{"Empty", "", 0, {}}, ImportCase{"OnlyLineEnds", "\r\n\r\n\r\n", 0, {}},
        ImportCase{"BareLineFeeds",
                   "a\tb\tc\tPop Rock\n",
                   0,
                   {LineProblem(0, "a\tb\tc\tPop Rock"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile 9"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile")}},
        ImportCase{"TooFewFields",
                   ImportLine("Pop Rock") + kOneFieldLine + ImportLine("Pop Rock"),
                   1,
                   {LineProblem(1, "just one field"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile 9"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile")}},
        ImportCase{"NulBytes",
                   ImportLine("Pop Rock", std::string("So\0ng", 5)) + std::string("\0\0\0\r\n", 5),
                   1,
                   {LineProblem(1, std::string("\0\0\0", 3)),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile 9"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile")}},
        ImportCase{"RunawayLine",
                   std::string(1 << 20, 'x') + "\r\n",
                   0,
                   {LineProblem(0, std::string(300, 'x') + "..."),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile 9"),
                    ImportError(9, "Subscript out of range", "ImportTextDelimitedFile")}},
        ImportCase{"RunawayLineOfEmptyFields", std::string(1 << 20, '\t') + "\r\n", 1, {}},
        ImportCase{"TempoTooLarge",
                   " 1\tPop\tSong\tPop Rock\t4/4\t99999999999\tkw\tNo\tNo\tNo\r\n",
                   0,
                   {LineProblem(0, " 1\tPop\tSong\tPop Rock\t4/4\t99999999999\tkw\tNo\tNo\tNo"),
                    ImportError(6, "Overflow", "ImportTextDelimitedFile 6"),
                    ImportError(6, "Overflow", "ImportTextDelimitedFile")}}),
    [](const ::testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

// A chosen import file that is a folder is reported, and nothing is imported.
TEST(HostileImportPath, AFolderIsNotImported) {
  AppFixture fx;
  fx.WriteStyleList("PSR-S970", {{"Cool Beat", "291"}});
  fx.PutFile("in.mfd", FileBuilder{.records = {RecordBuilder{.style = 291}}}.Build());
  Presented(OpenMusicFinderFile(fx.state, fx.dialogs), fx.dialogs);
  fx.dialogs.messages.clear();
  fx.dialogs.QueueFile(fx.dir.Str() + "files");
  const ImportResult result = Presented(ImportDelimitedFile(fx.state, fx.dialogs), fx.dialogs);
  EXPECT_EQ(result.imported, 0);
  EXPECT_EQ(fx.dialogs.Texts(),
            std::vector<std::string>{"File may have read-only attribute. Change attribute or "
                                     "choose another name.   -  ImportTextDelimitedFile"});
  EXPECT_EQ(fx.state.List.Size(), 1u);
}

// Replacement tables with bare line feeds, NUL bytes and runaway lines.
struct TableCase {
  const char* name;
  std::string table;
  std::vector<std::string> messages;
  std::string style;  // the row's "Style or File" text afterwards
};

void PrintTo(const TableCase& c, std::ostream* out) { *out << c.name; }

class HostileReplacementTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(HostileReplacementTable, ReplacesOnlyFromAReadableTable) {
  const TableCase& c = GetParam();
  AppFixture fx;
  fx.dir.Write("app/StyleReplacementTable.txt", c.table);
  const auto before = Snapshot(fx.dir.Path() / "app");
  Row row;
  row.SetCell(col::kStyle, "Cool Beat");
  fx.state.List.Add(std::move(row));
  ASSERT_NO_THROW(cboStyle_setup(fx.state, fx.dialogs));
  EXPECT_EQ(WithAppFolderShort(fx.dialogs.Texts(), fx.state.AppPath), c.messages);
  EXPECT_EQ(fx.state.List[0].Cell(col::kStyle), c.style);
  EXPECT_EQ(Snapshot(fx.dir.Path() / "app"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, HostileReplacementTable,
    ::testing::Values(
        TableCase{"BareLineFeeds", "Cool Beat;Pop Rock\n", {}, "Pop Rock"},
        TableCase{"NulBytes",
                  std::string("Cool Beat;Pop\0Rock\r\n", 20),
                  {"The style replacement table <app>StyleReplacementTable.txt cannot be read: it "
                   "is not a text file (it holds zero bytes). No style was replaced."},
                  "Cool Beat"},
        TableCase{"RunawayLine",
                  std::string(1 << 20, 'x') + "\r\n",
                  {"Error #: 5, Invalid procedure call or argument - " + std::string(100, 'x') +
                   "..., encountered in Function cboStyle_setup. If the solution is not obvious, "
                   "please report this to the author."},
                  "Cool Beat"}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace cadenzo
