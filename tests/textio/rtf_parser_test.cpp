// SPDX-License-Identifier: GPL-3.0-or-later
#include "textio/rtf_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "textio/rtf_writer.h"

namespace cadenzo {
namespace {

std::string Utf32ToCp1252Debug(const std::u32string& text) {
  std::string out;
  for (char32_t ch : text) {
    if (ch < 0x80) {
      out.push_back(static_cast<char>(ch));
    } else {
      out += "<U+" + std::to_string(static_cast<unsigned long>(ch)) + ">";
    }
  }
  return out;
}

struct TextCase {
  const char* name;
  std::string rtf;
  std::u32string text;  // paragraphs joined with "\n"
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsTheText) {
  const RtfDocument doc = ParseRtf(GetParam().rtf);
  EXPECT_EQ(Utf32ToCp1252Debug(doc.PlainText()), Utf32ToCp1252Debug(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    ControlWordsAndEscapes, RtfText,
    ::testing::Values(
        TextCase{"plain", "{\\rtf1 Hello world}", U"Hello world"},
        TextCase{"par", "{\\rtf1 one\\par two\\par three}", U"one\ntwo\nthree"},
        TextCase{"par_after_line_end", "{\\rtf1 one\\\ntwo}", U"one\ntwo"},
        TextCase{"trailing_par_gives_no_extra_line", "{\\rtf1 one\\par}", U"one"},
        TextCase{"empty_line_kept", "{\\rtf1 one\\par\\par two}", U"one\n\ntwo"},
        TextCase{"sect_and_page_end_paragraphs", "{\\rtf1 a\\sect b\\page c}", U"a\nb\nc"},
        TextCase{"line_and_tab", "{\\rtf1 a\\line b\\tab c}", U"a\u2028b\tc"},
        TextCase{"line_ends_in_source_are_not_text", "{\\rtf1 a\r\nb\nc}", U"abc"},
        TextCase{"delimiter_blank_eaten_once", "{\\rtf1 \\b  x}", U" x"},
        TextCase{"hex_escape", "{\\rtf1 caf\\'e9}", U"caf\u00e9"},
        TextCase{"hex_escape_upper_case", "{\\rtf1 \\'C4}", U"\u00c4"},
        TextCase{"hex_escape_windows_1252_euro", "{\\rtf1 \\'80}", U"\u20ac"},
        TextCase{"raw_windows_1252_byte", "{\\rtf1 caf\xE9 \x93q\x94}", U"caf\u00e9 \u201cq\u201d"},
        TextCase{"escaped_braces_and_backslash", "{\\rtf1 \\{a\\}\\\\}", U"{a}\\"},
        TextCase{"special_symbols", "{\\rtf1 a\\~b\\_c\\-d}", U"a\u00a0b\u2011cd"},
        TextCase{"named_characters",
                 "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
                 U"\u2014\u2013\u2022\u2018\u2019\u201c\u201d"},
        TextCase{"unicode_with_fallback", "{\\rtf1 \\u8364?x}", U"\u20acx"},
        TextCase{"unicode_negative", "{\\rtf1 \\u-3913?}", U"\uf0b7"},
        TextCase{"unicode_skip_count", "{\\rtf1 \\uc2\\u8364 abc}", U"\u20acc"},
        TextCase{"unicode_skip_zero", "{\\rtf1 \\uc0\\u8364 abc}", U"\u20acabc"},
        TextCase{"unicode_fallback_hex_counts_once", "{\\rtf1 \\u233\\'e9x}", U"\u00e9x"},
        TextCase{"unicode_skip_ends_at_group", "{\\rtf1 {\\uc3\\u233}ab}", U"\u00e9ab"},
        TextCase{"unicode_surrogate_pair", "{\\rtf1 \\u-10179?\\u-8704?}", U"\U0001F600"},
        TextCase{"unicode_lone_high_surrogate", "{\\rtf1 \\u-10179?x}", U"\ufffdx"},
        TextCase{"control_characters_are_not_text", "{\\rtf1 a\\u13?b\\'0dc\\u0 d\\'09e}",
                 U"abc\te"},
        TextCase{"unicode_lone_low_surrogate", "{\\rtf1 \\u-8704?x}", U"\ufffdx"},
        TextCase{"uc_is_scoped_by_groups", "{\\rtf1 {\\uc0 a}\\u233?b}", U"a\u00e9b"},
        TextCase{"font_table_hidden", "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}\\f0 x}", U"x"},
        TextCase{"colour_table_and_info_hidden",
                 "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\info{\\title T}}y}", U"y"},
        TextCase{"unknown_star_destination_hidden", "{\\rtf1 a{\\*\\generator Writer 1.0;}b}",
                 U"ab"},
        TextCase{"field_result_shown",
                 "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt here}}}", U"here"},
        TextCase{"unknown_words_ignored", "{\\rtf1\\ansi\\ansicpg1252\\deff0\\cf2\\f1 x}", U"x"},
        TextCase{"binary_data_skipped", "{\\rtf1 a\\bin3 xyzb}", U"ab"},
        TextCase{"text_after_the_document_ignored", "{\\rtf1 a} more}", U"a"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
  const char* name;
  std::string rtf;
  std::size_t paragraph;
  std::size_t run;
  RtfCharFormat chr;
  RtfParagraphFormat par;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }

class RtfFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RtfFormat, ReadsTheFormat) {
  const FormatCase& c = GetParam();
  const RtfDocument doc = ParseRtf(c.rtf);
  ASSERT_LT(c.paragraph, doc.paragraphs.size());
  const RtfParagraph& p = doc.paragraphs[c.paragraph];
  ASSERT_LT(c.run, p.runs.size());
  const RtfCharFormat& f = p.runs[c.run].format;
  EXPECT_EQ(f.bold, c.chr.bold);
  EXPECT_EQ(f.italic, c.chr.italic);
  EXPECT_EQ(f.underline, c.chr.underline);
  EXPECT_EQ(f.fontSize, c.chr.fontSize);
  EXPECT_EQ(p.format.leftIndent, c.par.leftIndent);
  EXPECT_EQ(p.format.rightIndent, c.par.rightIndent);
  EXPECT_EQ(p.format.firstIndent, c.par.firstIndent);
  EXPECT_EQ(p.format.spaceBefore, c.par.spaceBefore);
  EXPECT_EQ(p.format.spaceAfter, c.par.spaceAfter);
  EXPECT_EQ(p.format.alignment, c.par.alignment);
}

RtfCharFormat Chr(bool b, bool i, bool u, int size = 24) { return {b, i, u, size}; }
RtfParagraphFormat Par(int li, int ri, int fi, int sb, int sa,
                       RtfAlignment a = RtfAlignment::kLeft) {
  return {li, ri, fi, sb, sa, a};
}

INSTANTIATE_TEST_SUITE_P(
    ControlWords, RtfFormat,
    ::testing::Values(
        FormatCase{"defaults", "{\\rtf1 x}", 0, 0, Chr(false, false, false), Par(0, 0, 0, 0, 0)},
        FormatCase{"bold", "{\\rtf1 \\b x}", 0, 0, Chr(true, false, false), {}},
        FormatCase{"bold_off", "{\\rtf1 \\b\\b0 x}", 0, 0, Chr(false, false, false), {}},
        FormatCase{"italic", "{\\rtf1 \\i x}", 0, 0, Chr(false, true, false), {}},
        FormatCase{"underline", "{\\rtf1 \\ul x}", 0, 0, Chr(false, false, true), {}},
        FormatCase{"underline_none", "{\\rtf1 \\ul\\ulnone x}", 0, 0, Chr(false, false, false), {}},
        FormatCase{"double_underline", "{\\rtf1 \\uldb x}", 0, 0, Chr(false, false, true), {}},
        FormatCase{"font_size", "{\\rtf1 \\fs36 x}", 0, 0, Chr(false, false, false, 36), {}},
        FormatCase{
            "font_size_default", "{\\rtf1 \\fs36\\fs x}", 0, 0, Chr(false, false, false), {}},
        FormatCase{
            "group_restores_format", "{\\rtf1 {\\b\\i a}b}", 0, 1, Chr(false, false, false), {}},
        FormatCase{"plain_resets",
                   "{\\rtf1 \\b\\i\\ul\\fs40\\plain x}",
                   0,
                   0,
                   Chr(false, false, false),
                   {}},
        FormatCase{"paragraph_format",
                   "{\\rtf1 \\li600\\ri300\\fi-200\\sb120\\sa60\\qc x\\par}",
                   0,
                   0,
                   {},
                   Par(600, 300, -200, 120, 60, RtfAlignment::kCenter)},
        FormatCase{"alignments",
                   "{\\rtf1 \\qr a\\par\\qj b\\par\\ql c}",
                   1,
                   0,
                   {},
                   Par(0, 0, 0, 0, 0, RtfAlignment::kJustify)},
        FormatCase{"pard_resets", "{\\rtf1 \\li600\\qc a\\par\\pard b\\par}", 1, 0, {}, {}},
        FormatCase{"format_at_paragraph_end_counts",
                   "{\\rtf1 a\\li720\\par}",
                   0,
                   0,
                   {},
                   Par(720, 0, 0, 0, 0)},
        FormatCase{
            "paragraph_format_scoped_by_group", "{\\rtf1 {\\li900 a\\par}b\\par}", 1, 0, {}, {}},
        FormatCase{"huge_font_size_clamped",
                   "{\\rtf1 \\fs99999999999999999999 x}",
                   0,
                   0,
                   Chr(false, false, false, 400),
                   {}},
        FormatCase{
            "tiny_font_size_clamped", "{\\rtf1 \\fs-5 x}", 0, 0, Chr(false, false, false, 2), {}},
        FormatCase{"huge_indents_clamped",
                   "{\\rtf1 \\li-99999999999\\ri99999999 x}",
                   0,
                   0,
                   {},
                   Par(-31680, 31680, 0, 0, 0)},
        FormatCase{"negative_spacing_clamped", "{\\rtf1 \\sb-100\\sa-5 x}", 0, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Hostile inputs: each must end with the text that could be read, without a crash, a read past
// the end or memory beyond the input's size.
class RtfHostile : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfHostile, ReadsWhatItCan) {
  const RtfDocument doc = ParseRtf(GetParam().rtf);
  EXPECT_EQ(Utf32ToCp1252Debug(doc.PlainText()), Utf32ToCp1252Debug(GetParam().text));
  EXPECT_LE(doc.paragraphs.size(), GetParam().rtf.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, RtfHostile,
    ::testing::Values(
        TextCase{"empty", "", U""}, TextCase{"lone_open", "{", U""},
        TextCase{"lone_close", "}", U""}, TextCase{"lone_backslash", "\\", U""},
        TextCase{"closes_before_opens", "}}}{{{x", U"x"},
        TextCase{"unclosed_document", "{\\rtf1 {\\b open", U"open"},
        TextCase{"cut_inside_font_table", "{\\rtf1 text{\\fonttbl{\\f0 Ari", U"text"},
        TextCase{"cut_hex_escape", "{\\rtf1 a\\'", U"a"},
        TextCase{"half_hex_escape", "{\\rtf1 a\\'4", U"a"},
        TextCase{"bad_hex_escape", "{\\rtf1 \\'zz a}", U"zz a"},
        TextCase{"cut_unicode", "{\\rtf1 a\\u", U"a"},
        TextCase{"unicode_without_number", "{\\rtf1 \\u-x}", U"x"},
        TextCase{"unicode_out_of_range", "{\\rtf1 \\u99999999999999 x}", U"\ufffd"},
        TextCase{"lying_binary_length", "{\\rtf1 a\\bin99999999999999999 xyz}", U"a"},
        TextCase{"negative_binary_length", "{\\rtf1 a\\bin-5 b}", U"ab"},
        TextCase{"huge_unicode_skip", "{\\rtf1 \\uc99999\\u65 abcdefghijklmnopqrstuvwxyz}",
                 U"Aqrstuvwxyz"},
        TextCase{"long_control_word", "{\\rtf1 \\" + std::string(100000, 'b') + " x}", U"x"},
        TextCase{"long_number", "{\\rtf1 \\fs" + std::string(100000, '9') + " x}", U"x"},
        TextCase{"deep_nesting",
                 std::string(100000, '{') + "\\b x" + std::string(100000, '}') + "y", U"x"},
        TextCase{"deep_nesting_unclosed", "{\\rtf1 " + std::string(300000, '{') + "z", U"z"},
        TextCase{"nul_and_control_bytes", std::string("{\\rtf1 a\0\x01\x7f", 11) + "b}",
                 U"a\x7f"
                 U"b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfHostile, FormattingSetBeyondTheDepthLimitEndsWithTheDeepestKeptGroup) {
  // Groups past the limit share one state: a format set there lasts until the deepest kept
  // group closes, and no further.
  const std::size_t beyond = 11;
  std::string rtf = "{\\rtf1 " + std::string(kRtfMaxGroupDepth - 1 + beyond, '{');
  rtf += "\\b a" + std::string(beyond, '}') + "b}c" + std::string(kRtfMaxGroupDepth, '}');
  const RtfDocument doc = ParseRtf(rtf);
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  const auto& runs = doc.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].text, U"ab");
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_EQ(runs[1].text, U"c");
  EXPECT_FALSE(runs[1].format.bold);
}

TEST(RtfHostile, RandomBytesNeverGrowTheOutputBeyondTheInput) {
  std::mt19937 random(20240611);
  const std::string alphabet = "{}\\'abuc0123456789-* \r\n\x80\xff";
  for (int round = 0; round < 3000; ++round) {
    std::string input(random() % 400, '\0');
    for (char& c : input) {
      c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                            : alphabet[random() % alphabet.size()];
    }
    if (round % 2 == 0) input = "{\\rtf1 " + input;
    const RtfDocument doc = ParseRtf(input);
    std::size_t characters = 0;
    for (const auto& p : doc.paragraphs) {
      for (const auto& r : p.runs) {
        EXPECT_FALSE(r.text.empty());
        characters += r.text.size();
      }
    }
    ASSERT_LE(characters + doc.paragraphs.size(), input.size() + 1) << "round " << round;
  }
}

TEST(RtfDocument, AdjacentTextOfOneFormatIsOneRun) {
  const RtfDocument doc = ParseRtf("{\\rtf1 a{b}\\b c{\\b d}\\b0 e}");
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  const auto& runs = doc.paragraphs[0].runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, U"ab");
  EXPECT_EQ(runs[1].text, U"cd");
  EXPECT_TRUE(runs[1].format.bold);
  EXPECT_EQ(runs[2].text, U"e");
}

struct PlainCase {
  const char* name;
  std::string text;
  std::vector<std::u32string> lines;
};

void PrintTo(const PlainCase& c, std::ostream* os) { *os << c.name; }

class PlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainText, OneParagraphPerLine) {
  const RtfDocument doc = PlainTextDocument(GetParam().text);
  std::vector<std::u32string> lines;
  for (const auto& p : doc.paragraphs) lines.push_back(p.Text());
  EXPECT_EQ(lines, GetParam().lines);
  for (const auto& p : doc.paragraphs) {
    EXPECT_EQ(p.format, RtfParagraphFormat{});
    for (const auto& r : p.runs) EXPECT_EQ(r.format.fontSize, 20);
  }
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, PlainText,
    ::testing::Values(PlainCase{"empty", "", {U""}}, PlainCase{"crlf", "a\r\nb", {U"a", U"b"}},
                      PlainCase{"lf_and_cr", "a\nb\rc", {U"a", U"b", U"c"}},
                      PlainCase{"trailing_crlf", "a\r\n", {U"a", U""}},
                      PlainCase{"blank_line", "a\r\n\r\nb", {U"a", U"", U"b"}},
                      PlainCase{"tabs_and_windows_1252", "1\tcaf\xE9\x80", {U"1\tcaf\u00e9\u20ac"}},
                      PlainCase{"rich_text_braces_are_text", "{\\b x}", {U"{\\b x}"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRichOrPlainText, ChoosesByTheSignature) {
  EXPECT_EQ(ReadRichOrPlainText("{\\rtf1 \\b x}").PlainText(), U"x");
  EXPECT_EQ(ReadRichOrPlainText(" {\\rtf1 x}").PlainText(), U" {\\rtf1 x}");
  EXPECT_EQ(ReadRichOrPlainText("Item #\tGenre\r\n").PlainText(), U"Item #\tGenre\n");
}

TEST(AddParagraphIndents, AddsToTheIndentsFromTheGivenParagraph) {
  RtfDocument doc = ParseRtf("{\\rtf1 title\\par\\li300 a\\par\\li-31000 b\\par}");
  AddParagraphIndents(doc, 600, 600, 1);
  ASSERT_EQ(doc.paragraphs.size(), 3u);
  EXPECT_EQ(doc.paragraphs[0].format.leftIndent, 0);
  EXPECT_EQ(doc.paragraphs[0].format.rightIndent, 0);
  EXPECT_EQ(doc.paragraphs[1].format.leftIndent, 900);
  EXPECT_EQ(doc.paragraphs[1].format.rightIndent, 600);
  EXPECT_EQ(doc.paragraphs[2].format.leftIndent, -30400);
}

TEST(WriteRtf, ReadsBackAsTheSameDocument) {
  RtfDocument doc;
  RtfParagraph title;
  title.format.alignment = RtfAlignment::kCenter;
  title.format.spaceAfter = 120;
  title.runs.push_back({RtfCharFormat{true, false, false, 36}, U"Quick {start} \\ guide"});
  doc.paragraphs.push_back(title);
  doc.paragraphs.push_back(RtfParagraph{});  // an empty line
  RtfParagraph body;
  body.format = {720, 600, -360, 0, 60, RtfAlignment::kJustify};
  body.runs.push_back({RtfCharFormat{}, U"\u2022\tcaf\u00e9 \u20ac 1.5\u2028next"});
  body.runs.push_back({RtfCharFormat{false, true, true, 20}, U" \u4e2d\U0001F3B5 "});
  body.runs.push_back({RtfCharFormat{false, false, false, 24}, U"end"});
  doc.paragraphs.push_back(body);
  RtfParagraph right;
  right.format.alignment = RtfAlignment::kRight;
  right.runs.push_back({RtfCharFormat{}, U"9"});
  doc.paragraphs.push_back(right);

  const std::string rtf = WriteRtf(doc);
  EXPECT_TRUE(LooksLikeRtf(rtf));
  for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "7-bit output";
  EXPECT_EQ(ParseRtf(rtf), doc);
}

}  // namespace
}  // namespace cadenzo
