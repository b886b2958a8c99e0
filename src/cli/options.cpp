// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

namespace cadenzo::cli {
namespace {

// What each command takes: the options it accepts and the arguments it cannot do without.
struct CommandForm {
  std::string_view name;
  bool source = false;        // --source
  bool styleNumbers = false;  // --style-numbers
  bool output = false;        // -o
  bool target = false;        // --target
  bool saveOptions = false;   // --no-user-styles, --default-style, --over-capacity, --log
  bool needsText = false;     // import's TEXT.txt
  bool needsOutput = false;
  bool needsTarget = false;
  bool needsMore = false;   // merge's further files
  bool duplicates = false;  // --song-only, --json
  bool json = false;        // --json
  bool batch = false;       // several FILE.mfd, -d OUTDIR, --dry-run
};

constexpr std::array kForms = {
    CommandForm{.name = "info", .json = true},
    CommandForm{.name = "list", .source = true, .styleNumbers = true, .output = true, .json = true},
    CommandForm{.name = "export",
                .source = true,
                .styleNumbers = true,
                .output = true,
                .needsOutput = true},
    CommandForm{.name = "convert",
                .source = true,
                .output = true,
                .target = true,
                .saveOptions = true,
                .needsOutput = true,
                .needsTarget = true,
                .json = true,
                .batch = true},
    CommandForm{.name = "import",
                .source = true,
                .output = true,
                .saveOptions = true,
                .needsText = true,
                .needsOutput = true},
    CommandForm{.name = "dump"},
    CommandForm{.name = "merge",
                .output = true,
                .target = true,
                .saveOptions = true,
                .needsOutput = true,
                .needsMore = true},
    CommandForm{.name = "duplicates", .duplicates = true},
};

// The inputs of a convert and where their outputs go: -o names one file, -d a folder that takes
// each output under its input's file name and its log beside it as NAME.log.txt. Two inputs
// whose outputs or logs would share a name are refused.
void CheckBatch(const Options& o) {
  if (!o.output.empty() && !o.outDir.empty()) throw UsageError{"-o and -d exclude each other"};
  if (!o.moreFiles.empty() && !o.output.empty()) {
    throw UsageError{"-o names one output; several inputs need -d OUTDIR"};
  }
  if (!o.moreFiles.empty() && o.outDir.empty() && !o.dryRun) {
    throw UsageError{"several inputs need -d OUTDIR"};
  }
  std::vector<std::string> files = {o.file};
  files.insert(files.end(), o.moreFiles.begin(), o.moreFiles.end());
  for (std::size_t i = 0; i < files.size(); ++i) {
    for (std::size_t j = i + 1; j < files.size(); ++j) {
      const std::filesystem::path a(files[i]);
      const std::filesystem::path b(files[j]);
      const bool sameName = a.filename() == b.filename();
      const bool sameLog = !o.outDir.empty() && o.log.empty() && a.stem() == b.stem();
      if (sameName || sameLog) {
        throw UsageError{files[i] + " and " + files[j] + " would be written to the same " +
                         (sameName ? "file name" : "log name") + "; nothing was written"};
      }
    }
  }
}

}  // namespace

Options Parse(const std::vector<std::string>& args) {
  Options o;
  CLI::App app{"", "cadenzo-cli"};
  // --help and --version are answered before the parser runs.
  app.set_help_flag();
  // A repeated option keeps its last value, as the command line always did.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--app-dir", o.appDir);
  app.add_option("--user-dir", o.userDir);
  app.require_subcommand(1);

  for (const CommandForm& form : kForms) {
    CLI::App* command = app.add_subcommand(std::string(form.name));
    // The global folders may also follow the command.
    command->fallthrough();
    if (form.batch) {
      command->add_option("FILE.mfd", o.moreFiles)->required();
    } else {
      command->add_option("FILE.mfd", o.file)->required();
    }
    if (form.needsText) command->add_option("TEXT.txt", o.text)->required();
    if (form.needsMore) command->add_option("MORE.mfd", o.moreFiles)->required();
    if (form.source) command->add_option("--source", o.source);
    if (form.styleNumbers) command->add_flag("--style-numbers", o.styleNumbers);
    if (form.target) {
      command->add_option("--target", o.target)->required(form.needsTarget);
    }
    if (form.output) {
      // convert may name a folder (-d) instead, or write nothing (--dry-run).
      command->add_option("-o", o.output)->required(form.needsOutput && !form.batch);
    }
    if (form.json) command->add_flag("--json", o.json);
    if (form.batch) {
      command->add_option("-d", o.outDir);
      command->add_flag("--dry-run", o.dryRun);
    }
    if (form.saveOptions) {
      command->add_flag("--no-user-styles", o.noUserStyles);
      command->add_flag("--over-capacity", o.overCapacity);
      command->add_option("--log", o.log);
      command->add_option("--default-style", o.defaultStyle);
    }
    if (form.duplicates) {
      command->add_flag("--song-only", o.songOnly);
      command->add_flag("--json", o.json);
    }
  }
  // CLI11 takes the arguments in reverse order.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw UsageError{e.what()};
  }
  const CLI::App* command = app.get_subcommands().front();
  o.command = command->get_name();
  const CLI::Option* style = command->get_option_no_throw("--default-style");
  o.hasDefaultStyle = style != nullptr && style->count() > 0;
  const auto* const form =
      std::ranges::find(kForms, std::string_view(o.command), &CommandForm::name);
  // A batch takes every FILE.mfd in one list: the first is the file, as for one input.
  if (form->batch && !o.moreFiles.empty()) {
    o.file = o.moreFiles.front();
    o.moreFiles.erase(o.moreFiles.begin());
  }
  // An empty argument counts as a missing one.
  if (o.file.empty()) throw UsageError{o.command + " needs a FILE.mfd"};
  for (const std::string& file : o.moreFiles) {
    if (file.empty()) throw UsageError{o.command + " needs a FILE.mfd"};
  }
  if (form->needsText && o.text.empty()) throw UsageError{o.command + " needs a TEXT.txt"};
  if (form->needsMore && o.moreFiles.empty()) {
    throw UsageError{o.command + " needs a second FILE.mfd"};
  }
  if (form->needsTarget && o.target.empty()) {
    throw UsageError{o.command + " needs --target MODEL"};
  }
  if (form->batch) CheckBatch(o);
  if (form->needsOutput && o.output.empty() && !(form->batch && (o.dryRun || !o.outDir.empty()))) {
    throw UsageError{o.command + (form->batch ? " needs -o OUT or -d OUTDIR" : " needs -o OUT")};
  }
  if (o.json && !o.output.empty() && !form->batch) {
    throw UsageError{"--json prints to standard output and takes no -o"};
  }
  return o;
}

}  // namespace cadenzo::cli
