# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the COMMANDS section of kelvor-cli's manual page (a help2man include file) from the
# tool's own help texts: the commands its --help lists, each with its COMMAND --help.
# Usage: cmake -DCLI=path/to/kelvor-cli -DOUTPUT=file.h2m -P man_commands.cmake

execute_process(COMMAND ${CLI} --help OUTPUT_VARIABLE tool_help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CLI} --help failed: ${status}")
endif()

# The commands are the indented first words of the block after "commands:".
string(REGEX MATCH "commands:\n(.*)\n\n" block "${tool_help}")
string(REGEX MATCHALL "\n  [a-z]+ |^  [a-z]+ " entries "${CMAKE_MATCH_1}")
if(NOT entries)
    message(FATAL_ERROR "no commands found in the help of ${CLI}")
endif()

set(text "[COMMANDS]\n")
foreach(entry ${entries})
    string(STRIP "${entry}" command)
    execute_process(COMMAND ${CLI} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${CLI} ${command} --help failed: ${status}")
    endif()
    # Kept as the tool prints it: roff's escape character doubled, no line read as a request.
    string(REPLACE "\\" "\\e" help "${help}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
    string(REPLACE "-" "\\-" help "${help}")
    string(APPEND text ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${text}")
