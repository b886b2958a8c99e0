# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DDOC=docs/architecture.md -DGRAPH=build/layers/graph.txt -P check_architecture_doc.cmake
# Fails when the ```layers block of the page differs from the graph the build declares.
cmake_minimum_required(VERSION 3.25)
file(READ ${DOC} doc)
string(FIND "${doc}" "```layers\n" start)
if(start EQUAL -1)
  message(FATAL_ERROR "${DOC} has no ```layers block")
endif()
math(EXPR start "${start} + 10")
string(SUBSTRING "${doc}" ${start} -1 rest)
string(FIND "${rest}" "```" end)
string(SUBSTRING "${rest}" 0 ${end} documented)
file(READ ${GRAPH} declared)
string(STRIP "${documented}" documented)
string(STRIP "${declared}" declared)
if(NOT documented STREQUAL declared)
  message(FATAL_ERROR "The layers in ${DOC}:\n${documented}\n\n"
                      "differ from the layers the build declares:\n${declared}")
endif()
message(STATUS "${DOC} shows the declared layers")
