// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "app/dialogs.h"
#include "catalogue/style_list.h"
#include "textio/rtf_parser.h"

namespace cadenzo {

// The information window's caption while it shows the target's styles.
inline constexpr const char* kStyleListCaption = "Styles in target instrument";

// The text of the style list view: four blanks, the model and " Styles" in upper case, CR LF,
// then every style's trimmed name followed by CR LF, in list order.
std::string StyleListViewText(std::string_view model, const std::vector<StyleListEntry>& styles);

// The text as the window shows it: one paragraph per line, the title as written and every
// line after it indented left and right by 600 twips.
RtfDocument StyleListViewDocument(const std::string& text);

// View > "&Style List": the target's styles, or nothing after the message asking for a target
// when none is chosen.
std::optional<RtfDocument> StyleListView(const AppState& state, Dialogs& dialogs);

}  // namespace cadenzo
