# Runs check_layers.cmake on small source trees made here, so a rule that stopped
# refusing what it is for fails a test. Run as the test "include_layers_rules":
#   cmake -DCHECK=<check_layers.cmake> -DWORK=<scratch folder> -P check_layers_rules.cmake
cmake_minimum_required(VERSION 3.16)

set(failures "")

# tree: a name; files: "folder/File.cpp=included header" pairs; expected: PASS or
# the text the refusal must contain.
function(check_tree tree expected)
  set(root ${WORK}/${tree})
  file(REMOVE_RECURSE ${root})
  foreach(entry ${ARGN})
    string(REPLACE "=" ";" parts ${entry})
    list(GET parts 0 file)
    list(GET parts 1 header)
    file(APPEND ${root}/${file} "#include <string>\n#include \"${header}\"\n")
  endforeach()
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${root} -P ${CHECK}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected STREQUAL "PASS")
    if(NOT code EQUAL 0)
      set(failures "${failures}\n${tree}: refused a good tree:\n${err}" PARENT_SCOPE)
    endif()
  elseif(code EQUAL 0)
    set(failures "${failures}\n${tree}: accepted, expected a refusal naming \"${expected}\"" PARENT_SCOPE)
  else()
    string(FIND "${err}" "${expected}" at)
    if(at EQUAL -1)
      set(failures "${failures}\n${tree}: refused without naming \"${expected}\":\n${err}" PARENT_SCOPE)
    endif()
  endif()
endfunction()

# The front ends over the facade and its values; the engine uses its own parts.
check_tree(good PASS
  ui/Widget.cpp=jobs/JobEngine.h ui/Rows.h=jobs/JobState.h cli/Jobs.cpp=jobs/JobView.h
  app/Start.cpp=jobs/JobEngine.h cli/Add.cpp=jobs/PreparedInput.h ui/Plan.cpp=jobs/JobPlan.h
  jobs/JobEngine.cpp=jobs/JobManager.h jobs/JobManager.h=jobs/JobV3.h)
# Past the facade, from each front end.
check_tree(ui_runner "ui/Widget.cpp includes jobs/JobV3.h" ui/Widget.cpp=jobs/JobV3.h)
check_tree(cli_record "cli/Jobs.cpp includes jobs/JobFile.h" cli/Jobs.cpp=jobs/JobFile.h)
check_tree(app_queue "app/Start.cpp includes jobs/JobManager.h" app/Start.cpp=jobs/JobManager.h)
check_tree(account_lock "account/User.h includes jobs/JobOwnership.h" account/User.h=jobs/JobOwnership.h)
check_tree(ui_publisher "ui/dialogs/Property.cpp includes jobs/UpdateGUIThread.h"
  ui/dialogs/Property.cpp=jobs/UpdateGUIThread.h)
# The layers themselves still hold.
check_tree(upward "jobs/Job.cpp includes from ui/" jobs/Job.cpp=ui/Widget.h)
check_tree(stranger "misc/Thing.cpp: the folder misc has no place" misc/Thing.cpp=log/LogUtil.h)

file(REMOVE_RECURSE ${WORK})
if(failures)
  message(FATAL_ERROR "The include rules do not hold:${failures}")
endif()
message(STATUS "every include rule refuses what it is for")
