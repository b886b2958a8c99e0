# SPDX-License-Identifier: GPL-3.0-or-later
# Blank templates for File > New and the example file, written by tools/make_mfd_data.
set(CADENZO_BLANKS
  "${CADENZO_DATA_OUT}/Blank 1 - PSR-1000 1100 2000 2100, CVP-203 to 210, TYROS.mfd"
  "${CADENZO_DATA_OUT}/Blank 2 - PSR-1500 3000 S700 S900, CVP-30x 409, TYROS 2 3.mfd"
  "${CADENZO_DATA_OUT}/Blank 3 - PSR-S6x0 to S975, SX600 700 900, CVP-5x9 6x9, GENOS, TYROS 4 5.mfd")
add_custom_command(OUTPUT ${CADENZO_BLANKS}
  COMMAND make_mfd_data blanks ${CADENZO_DATA_OUT}
  DEPENDS make_mfd_data VERBATIM)
add_custom_command(OUTPUT ${CADENZO_DATA_OUT}/examples/Example.mfd
  COMMAND make_mfd_data example ${CMAKE_CURRENT_SOURCE_DIR}/PSR-S970.dat
          ${CADENZO_DATA_OUT}/examples/Example.mfd
  DEPENDS make_mfd_data ${CMAKE_CURRENT_SOURCE_DIR}/PSR-S970.dat VERBATIM)
list(APPEND CADENZO_GENERATED_DATA ${CADENZO_BLANKS} ${CADENZO_DATA_OUT}/examples/Example.mfd)
