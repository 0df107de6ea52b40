# Turns one of the program's own tables into a C++ array, byte for byte. Lines
# are UTF-8, '#' starts a comment line.
#   KIND=strings (default): "ID<TAB>text", the string table.
#   KIND=aliases: "spelling<TAB>heading", other spellings of the CSV headings.
# Usage: cmake -DINPUT=<table.tsv> -DOUTPUT=<file.cpp> [-DKIND=aliases] -P GenerateProgramStrings.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT INPUT OR NOT OUTPUT)
  message(FATAL_ERROR "INPUT and OUTPUT must be given")
endif()
if(NOT KIND)
  set(KIND strings)
endif()

file(READ "${INPUT}" hex HEX)
string(REGEX MATCHALL "[0-9a-f][0-9a-f]" bytes "${hex}")
list(APPEND bytes "0a")  # a last line without a line feed still counts

set(entries "")
set(seen_ids "")
set(line_number 0)
set(line "")

# Every byte of the text becomes a hex escape unless it is plain printable ASCII;
# a literal break ("") keeps a following hex digit out of the escape.
function(escape_text text_bytes out_var)
  set(out "")
  set(after_escape FALSE)
  foreach(b IN LISTS text_bytes)
    math(EXPR code "0x${b}")
    if(code LESS 32 OR code GREATER 126 OR code EQUAL 34 OR code EQUAL 92 OR code EQUAL 63)
      string(APPEND out "\\x${b}")
      set(after_escape TRUE)
    else()
      string(ASCII ${code} ch)
      if(after_escape AND ch MATCHES "[0-9A-Fa-f]")
        string(APPEND out "\"\"")
      endif()
      string(APPEND out "${ch}")
      set(after_escape FALSE)
    endif()
  endforeach()
  set(${out_var} "${out}" PARENT_SCOPE)
endfunction()

foreach(b IN LISTS bytes)
  if(NOT b STREQUAL "0a")
    list(APPEND line ${b})
    continue()
  endif()
  math(EXPR line_number "${line_number} + 1")
  list(LENGTH line length)
  if(length GREATER 0)
    list(GET line -1 last)
    if(last STREQUAL "0d")
      list(REMOVE_AT line -1)
      list(LENGTH line length)
    endif()
  endif()
  if(length EQUAL 0)
    set(line "")
    continue()
  endif()
  list(GET line 0 first)
  if(first STREQUAL "23")  # '#'
    set(line "")
    continue()
  endif()

  list(FIND line "09" tab)
  if(tab LESS 1)
    message(FATAL_ERROR "${INPUT}:${line_number}: expected two parts separated by a tab")
  endif()
  math(EXPR text_start "${tab} + 1")
  set(text_bytes "")
  if(text_start LESS length)
    list(SUBLIST line ${text_start} -1 text_bytes)
  endif()
  if("09" IN_LIST text_bytes)
    message(FATAL_ERROR "${INPUT}:${line_number}: a text must not hold a tab")
  endif()
  escape_text("${text_bytes}" text)
  list(SUBLIST line 0 ${tab} first_bytes)

  if(KIND STREQUAL "aliases")
    escape_text("${first_bytes}" spelling)
    string(APPEND entries "    {\"${spelling}\", \"${text}\"},\n")
    set(line "")
    continue()
  endif()

  set(id "")
  foreach(d IN LISTS first_bytes)
    if(NOT d MATCHES "^3[0-9]$")
      message(FATAL_ERROR "${INPUT}:${line_number}: the ID must be decimal digits")
    endif()
    string(SUBSTRING "${d}" 1 1 digit)
    string(APPEND id "${digit}")
  endforeach()
  math(EXPR id "${id}")  # drops leading zeros
  if(id IN_LIST seen_ids)
    message(FATAL_ERROR "${INPUT}:${line_number}: ID ${id} is given twice")
  endif()
  list(APPEND seen_ids ${id})
  string(APPEND entries "    {${id}, \"${text}\"},\n")
  set(line "")
endforeach()

get_filename_component(input_name "${INPUT}" NAME)
if(KIND STREQUAL "aliases")
  set(type HeadingAlias)
  set(array headingAliases)
  set(count headingAliasCount)
else()
  set(type ProgramString)
  set(array programStrings)
  set(count programStringCount)
endif()
set(content "// Generated from ${input_name} by GenerateProgramStrings.cmake; edit the table, not this file.
#include \"csvimport/ProgramStrings.h\"

namespace ab {

const ${type} ${array}[] = {
${entries}};

const std::size_t ${count} = sizeof(${array}) / sizeof(${array}[0]);

}  // namespace ab
")

# Rewrite only on change, so dependants are not rebuilt for nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL content)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${content}")
