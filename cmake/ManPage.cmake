# SPDX-License-Identifier: LGPL-3.0-or-later
# Writes the manual page zcmcom(1) from the program's help: the overview, then every
# command's own --help (and that of its subcommands), so the page lists every option.
# The exit statuses end with the failures the command-line page shows (DOCS).
#   cmake -DPROGRAM=zcmcom -DOUTPUT=zcmcom.1 -DVERSION=0.1.0 -DDOCS=docs/command-line.md
#         -P ManPage.cmake

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

# The help's lines broken at blanks to fit the page: man indents the text 7 columns, so a
# line keeps 73 of 80. A line's rest is indented to where its description starts (an option
# or subcommand line: after the first run of two or more blanks), else to the line's own
# indentation (plus 4 for an option without a description on its line). Lengths are counted
# in bytes, which never under-counts the columns.
function(wrap out text)
  set(width 73)
  # List-safe: ';' and brackets would split or join the list's elements.
  string(ASCII 1 semi)
  string(ASCII 2 open)
  string(ASCII 3 close)
  string(REPLACE ";" "${semi}" text "${text}")
  string(REPLACE "[" "${open}" text "${text}")
  string(REPLACE "]" "${close}" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(result "")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "^ *[^ ]+( [^ ]+)*  +" lead "${line}")
    string(LENGTH "${lead}" indent)
    if(NOT lead)  # an option's long name: its rest a little further in than the option
      string(REGEX MATCH "^ +" lead "${line}")
      string(LENGTH "${lead}" indent)
      if(indent GREATER 0 AND indent LESS 20)
        math(EXPR indent "${indent} + 4")
      endif()
    endif()
    if(indent GREATER 40)
      set(indent 8)
    endif()
    string(REPEAT " " ${indent} pad)
    string(LENGTH "${line}" n)
    while(n GREATER width)
      math(EXPR w "${width} + 1")
      string(SUBSTRING "${line}" 0 ${w} head)
      string(FIND "${head}" " " cut REVERSE)
      if(cut LESS_EQUAL indent)  # no blank to break at within the page: the next one
        string(SUBSTRING "${line}" ${w} -1 tail)
        string(FIND "${tail}" " " cut)
        if(cut LESS 0)
          break()
        endif()
        math(EXPR cut "${cut} + ${w}")
      endif()
      string(SUBSTRING "${line}" 0 ${cut} first)
      string(REGEX REPLACE " +$" "" first "${first}")
      string(APPEND result "${first}\n")
      math(EXPR cut "${cut} + 1")
      string(SUBSTRING "${line}" ${cut} -1 rest)
      string(REGEX REPLACE "^ +" "" rest "${rest}")
      set(line "${pad}${rest}")
      string(LENGTH "${line}" n)
    endwhile()
    string(APPEND result "${line}\n")
  endforeach()
  string(REGEX REPLACE "\n$" "" result "${result}")
  string(REPLACE "${semi}" ";" result "${result}")
  string(REPLACE "${open}" "[" result "${result}")
  string(REPLACE "${close}" "]" result "${result}")
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The names of the subcommands a help text lists after its options, under "Subcommands:"
# or the overview's groups ("Sky:", "Time:" ...): the lines that start with two blanks and
# a small letter (options start with "-", positionals are in capitals); "help" is the
# overview itself.
function(subcommands out text)
  set(names)
  string(FIND "${text}" "\nOptions:\n" at)
  string(SUBSTRING "${text}" ${at} -1 tail)
  string(REGEX MATCHALL "\n  [a-z][a-z0-9-]*" found "${tail}")
  foreach(f IN LISTS found)
    string(STRIP "${f}" f)
    if(NOT f MATCHES "^help$")
      list(APPEND names ${f})
    endif()
  endforeach()
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
wrap(text "${overview}")
roff(text "${text}")
string(APPEND page "${text}.fi\n.SH COMMANDS\n")
foreach(c IN LISTS commands)
  help(help ${c})
  wrap(text "${help}")
  roff(text "${text}")
  string(APPEND page ".SS ${c}\n.nf\n${text}.fi\n")
  subcommands(inner "${help}")
  foreach(s IN LISTS inner)
    help(text ${c} ${s})
    wrap(text "${text}")
    roff(text "${text}")
    string(APPEND page ".SS \"${c} ${s}\"\n.nf\n${text}.fi\n")
  endforeach()
endforeach()
string(APPEND page ".SH EXIT STATUS
.TP
.B 0
done (also \\fB\\-\\-help\\fR and \\fB\\-\\-version\\fR, and \\fBserve\\fR stopped by SIGINT or
SIGTERM).
.TP
.B 1
the work failed: a file named on the command line is missing, unreadable or a folder; a
file cannot be written; a host, Stellarium or a network peer fails or does not answer;
standard output cannot be written.
.TP
.B 2
bad arguments: an unknown command or option, a missing or surplus argument, a value that is
not a number or out of its range, options that exclude each other.
.TP
.B 3
a name that names no object (of the built-in sky, an asterism, among the satellites of
\\fBpasses\\fR, or of a running Stellarium): only \\fBclick\\fR, \\fBfind\\fR and \\fBpasses\\fR.
.PP
\\fBlisten\\fR and \\fBserve\\fR end with 0 on SIGINT or SIGTERM; \\fBfollow\\fR runs until
\\fB\\-\\-count\\fR texts are shown or it is interrupted. Failures, by example (the command,
its status and what its message holds):
")
file(STRINGS "${DOCS}" rows ENCODING UTF-8 REGEX "^\\| `zcmcom ")
foreach(row IN LISTS rows)
  if(row MATCHES "^\\| `([^`]*)` \\| ([0-9]) \\| `(.*)` \\|$")
    set(status ${CMAKE_MATCH_2})
    set(message "${CMAKE_MATCH_3}")
    roff(command "${CMAKE_MATCH_1}")
    string(REPLACE "-" "\\-" command "${command}")
    roff(message "${message}")
    string(APPEND page ".TP\n.B ${command}\n${status}: ${message}\n")
  endif()
endforeach()
string(APPEND page ".SH ENVIRONMENT
.TP
.B ZCMCOM_DATA_DIR
a folder searched first for the data files (catalogues, element files, the camera
database); then
.IR /usr/share/zcmcom/ .
.TP
.B ZCMCOM_SKY_DATA
the built-in sky's catalogue of stars, constellations and Messier objects, in place of
.IR skycat.txt .
.TP
.B ZCMCOM_SKY_ELEMENTS
MPC element files (MPCORB or CometEls.txt lines) of further comets and minor planets,
separated by colons; \\fB\\-\\-elements\\fR adds to them.
.TP
.B ZCMCOM_SKY_TLE
two- or three-line element files of satellites, separated by colons; for a satellite in
several, the newest elements win; \\fB\\-\\-tle\\fR adds to them.
.TP
.B ZCMCOM_REGISTRY_USER\\fR, \\fBZCMCOM_REGISTRY_MACHINE
the registry databases of the user and of the machine (a relative name is taken from the
current folder).
.TP
.B ZCMCOM_ACP
the iconv name of the ANSI code page of text files (default CP932, Shift-JIS).
.TP
.B ZCMCOM_DEBUG_OUTPUT
when set and not empty, the library's debug output goes to standard error.
.TP
.B ZCMCOM_SOFT_KEYBOARD
the on-screen keyboard program the library starts (default onboard), looked for in
.BR PATH .
.TP
.B ZCMCOM_WEB_DIR
the folder of the browser chart's pages for \\fBserve\\fR (default
.IR /usr/share/zcmcom/web/ ).
.TP
.B TZDIR
the tz database (default
.IR /usr/share/zoneinfo ).
.TP
.B TMPDIR
where \\fBserve\\fR writes the time-zone map it sends (default
.IR /tmp ).
.TP
.B HOME\\fR, \\fBXDG_CONFIG_HOME
the folder of the registry databases
.RI ( $XDG_CONFIG_HOME/orvana/ ,
else
.IR ~/.config/orvana/ )
and of
.IR user-dirs.dirs .
.TP
.B XDG_DOCUMENTS_DIR\\fR, \\fBXDG_DESKTOP_DIR
the documents and desktop folders where
.I user-dirs.dirs
names none.
.TP
.B PATH
where the programs the library starts are looked for.
.SH FILES
.TP
.I /usr/share/zcmcom/
the data files, each with its source and licence listed in README.md there.
.TP
.I ~/.config/orvana/
the registry databases, unless the environment names others.
.TP
.I /usr/share/doc/zcmcom-tools/copyright
the licences of the program, the libraries and the data.
.SH SEE ALSO
.BR tzfile (5)
")
file(WRITE ${OUTPUT} "${page}")
