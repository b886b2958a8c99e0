// SPDX-License-Identifier: GPL-3.0-or-later
#include "midi/sysex_template.h"

#include "textio/file_limits.h"

namespace cadenzo {

MidiFile MakeSysExTemplate() {
  MidiFile file;
  file.format = 0;
  file.division = kTemplateDivision;
  file.tracks.emplace_back();
  file.tracks.front().events = {TempoEvent(0, kTemplateTempo), EndOfTrackEvent(kTemplateEnd)};
  return file;
}

MidiFile LoadSysExTemplate(const std::string& appPath) {
  return ReadMidiFile(ReadFileWithin(appPath + kSysExTemplateName, kMaxSysExTemplateSize));
}

}  // namespace cadenzo
