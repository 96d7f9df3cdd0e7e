# Fails when a source file includes a header of a folder above its own: each folder
# of src/ may include its own headers and those of the folders listed for it, all
# of them lower in this order; and when a front end reaches into the job engine past
# its facade. Run as the test "include_layers":
#   cmake -DSOURCE_DIR=<repository>/src -P check_layers.cmake
#
cmake_minimum_required(VERSION 3.16)

# The engine (kovadle_core), lowest first:
set(allowed_log "")
set(allowed_text log)
set(allowed_platform log text)
set(allowed_process log text platform)
set(allowed_net log text)
set(allowed_environment log text platform process)
set(allowed_probe log text platform process environment)
set(allowed_planning log text platform process environment probe)
set(allowed_jobs log text platform process environment probe planning)
set(allowed_backend log text platform net environment)
# The command-line front end: the engine, no interface.
set(allowed_cli log text platform process environment probe planning jobs)
# The interface side (kovadle_ui) over the engine; app is the window program's start.
set(engine log text platform process net environment probe planning jobs backend)
set(allowed_account ${engine})
set(allowed_ui ${engine} account)
set(allowed_app ${engine} account ui)

# The front ends see jobs/ only through the engine's facade and the plain values it
# hands out; the job runner, the queue, job files and locks stay behind it.
set(front_ends ui app cli account)
set(facade_headers JobEngine.h JobView.h JobPlan.h PreparedInput.h JobState.h JobStatus.h JobFinished.h
  JobReason.h TimeLeft.h TotalDeletion.h)

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(violations "")
foreach(file ${files})
  string(REGEX MATCH "^[^/]+" folder ${file})
  if(NOT DEFINED allowed_${folder})
    list(APPEND violations "${file}: the folder ${folder} has no place in the layers")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*" "\\1" included ${line})
    if(NOT included STREQUAL folder AND NOT included IN_LIST allowed_${folder})
      list(APPEND violations "${file} includes from ${included}/")
    elseif(included STREQUAL "jobs" AND folder IN_LIST front_ends)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"jobs/([^\"]*)\".*" "\\1" header ${line})
      if(NOT header IN_LIST facade_headers)
        list(APPEND violations "${file} includes jobs/${header}, which is behind the job engine's facade")
      endif()
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that run up the layers:\n  ${text}")
endif()
list(LENGTH files count)
message(STATUS "${count} files, every include within its layers")
