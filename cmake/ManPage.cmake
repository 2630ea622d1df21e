# SPDX-License-Identifier: LGPL-3.0-or-later
# Writes the manual page zcmcom(1) from the program's help: the overview, then every
# command's own --help (and that of its subcommands), so the page lists every option.
#   cmake -DPROGRAM=zcmcom -DOUTPUT=zcmcom.1 -DVERSION=0.1.0 -P ManPage.cmake

function(help out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE r)
  if(r)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# roff: a backslash is written \e, a line that starts with . or ' is escaped.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The names of the subcommands a help text lists under "Subcommands:".
function(subcommands out text)
  set(names)
  string(FIND "${text}" "Subcommands:\n" at)
  if(at GREATER -1)
    string(SUBSTRING "${text}" ${at} -1 tail)
    string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" found "${tail}")
    foreach(f IN LISTS found)
      string(STRIP "${f}" f)
      list(APPEND names ${f})
    endforeach()
  endif()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

help(overview)
subcommands(commands "${overview}")
string(TIMESTAMP today "%Y-%m-%d" UTC)
set(page ".TH ZCMCOM 1 \"${today}\" \"zcmcom ${VERSION}\" \"User Commands\"
.SH NAME
zcmcom \\- click texts of the sky, coordinates, time zones and files from the ZCMCOM library
.SH SYNOPSIS
.B zcmcom
.I COMMAND
[\\fIOPTIONS\\fR] [\\fIARGUMENTS\\fR]
.br
.B zcmcom
.I COMMAND
.B \\-\\-help
.br
.B zcmcom \\-\\-version
.SH DESCRIPTION
.B zcmcom
is the command-line front end of the ZCMCOM library. Its main job is the click text: the
Japanese information text of an object of the sky, as an application shows it when the
object is clicked on a planetarium's chart, computed by the library's built-in sky or read
from a file of planetarium answers. The other commands reach the library's coordinate,
date, time-zone, camera, text-file and networking parts.
.PP
Every command answers \\fB\\-\\-help\\fR. The overview:
.PP
.nf
")
roff(text "${overview}")
string(APPEND page "${text}.fi\n.SH COMMANDS\n")
foreach(c IN LISTS commands)
  help(text ${c})
  roff(text "${text}")
  string(APPEND page ".SS ${c}\n.nf\n${text}.fi\n")
  subcommands(inner "${text}")
  foreach(s IN LISTS inner)
    help(text ${c} ${s})
    roff(text "${text}")
    string(APPEND page ".SS \"${c} ${s}\"\n.nf\n${text}.fi\n")
  endforeach()
endforeach()
string(APPEND page ".SH EXIT STATUS
0 done, 1 failed, 2 bad arguments, 3 unknown object.
.SH ENVIRONMENT
.TP
.B ZCMCOM_DATA_DIR
a folder searched first for the data files (catalogues, element files, the camera database).
.TP
.B ZCMCOM_REGISTRY_USER\\fR, \\fBZCMCOM_REGISTRY_MACHINE
the registry databases of the user and of the machine.
.TP
.B ZCMCOM_ACP
the iconv name of the ANSI code page (default: Shift-JIS).
.SH FILES
.TP
.I /usr/share/zcmcom/
the data files, each with its source and licence listed in README.md there.
.TP
.I ~/.config/orvana/
the registry databases, unless the environment names others.
.SH SEE ALSO
The README and the pages under docs/ of the source tree, and the API reference built by
scripts/docs.sh.
")
file(WRITE ${OUTPUT} "${page}")
