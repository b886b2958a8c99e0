#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Saves of a large file killed at random moments for 20 seconds: never a partial output, and no
# temporary file left after the next save. $1 is the folder of the built cadenzo-cli.
exec bash "$(dirname "$0")/../../scripts/kill-during-save" "${1:?folder of cadenzo-cli}" 20
