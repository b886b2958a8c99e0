# SPDX-License-Identifier: GPL-3.0-or-later
# Warnings are errors on our own targets.
function(cadenzo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
    # Designated initializers leave the other members at their defaults on purpose.
    -Wno-missing-field-initializers)
endfunction()
