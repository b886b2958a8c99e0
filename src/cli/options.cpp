// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <algorithm>
#include <array>
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
};

constexpr std::array kForms = {
    CommandForm{.name = "info"},
    CommandForm{.name = "list", .source = true, .styleNumbers = true, .output = true},
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
                .needsTarget = true},
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
    command->add_option("FILE.mfd", o.file)->required();
    if (form.needsText) command->add_option("TEXT.txt", o.text)->required();
    if (form.needsMore) command->add_option("MORE.mfd", o.more)->required();
    if (form.source) command->add_option("--source", o.source);
    if (form.styleNumbers) command->add_flag("--style-numbers", o.styleNumbers);
    if (form.target) {
      command->add_option("--target", o.target)->required(form.needsTarget);
    }
    if (form.output) {
      command->add_option("-o", o.output)->required(form.needsOutput);
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
  // An empty argument counts as a missing one.
  const auto* const form =
      std::ranges::find(kForms, std::string_view(o.command), &CommandForm::name);
  if (o.file.empty()) throw UsageError{o.command + " needs a FILE.mfd"};
  if (form->needsText && o.text.empty()) throw UsageError{o.command + " needs a TEXT.txt"};
  if (form->needsMore && (o.more.empty() || std::ranges::count(o.more, std::string()) > 0)) {
    throw UsageError{o.command + " needs a second FILE.mfd"};
  }
  if (form->needsTarget && o.target.empty()) {
    throw UsageError{o.command + " needs --target MODEL"};
  }
  if (form->needsOutput && o.output.empty()) throw UsageError{o.command + " needs -o OUT"};
  return o;
}

}  // namespace cadenzo::cli
