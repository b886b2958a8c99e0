# SPDX-License-Identifier: GPL-3.0-or-later
# Data files made at build time by the generators in tools/. Each block appends its outputs to
# CADENZO_GENERATED_DATA (this file is included by data/CMakeLists.txt and shares its scope).

# sysex2.mid: the MIDI file template that sending a record to the instrument fills with SysEx.
add_custom_command(OUTPUT ${CADENZO_DATA_OUT}/sysex2.mid
  COMMAND make_sysex_template ${CADENZO_DATA_OUT}/sysex2.mid
  DEPENDS make_sysex_template
  COMMENT "Generating sysex2.mid"
  VERBATIM)
list(APPEND CADENZO_GENERATED_DATA ${CADENZO_DATA_OUT}/sysex2.mid)
