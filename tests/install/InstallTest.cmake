# Installs the build into SCRATCH/prefix, runs RUNNER on it with an empty home
# folder (twice: the first start and one after it), and checks that nothing
# below the prefix changed.
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH}/home)
set(prefix ${SCRATCH}/prefix)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(needed bin/quillmere bin/quillmere-lang share/quillmere/Text.Db share/quillmere/Quillmere.Ini)
  if(NOT EXISTS ${prefix}/${needed})
    message(FATAL_ERROR "not installed: ${needed}")
  endif()
endforeach()

# What the prefix holds, with a hash of every file.
function(snapshot out)
  file(GLOB_RECURSE files LIST_DIRECTORIES true ${prefix}/*)
  list(SORT files)
  set(lines "")
  foreach(f ${files})
    if(IS_DIRECTORY ${f})
      string(APPEND lines "${f}/\n")
    else()
      file(SHA256 ${f} hash)
      string(APPEND lines "${f} ${hash}\n")
    endif()
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()
snapshot(before)

set(env ${CMAKE_COMMAND} -E env --unset=XDG_CONFIG_HOME --unset=XDG_DATA_HOME --unset=XDG_CACHE_HOME
    HOME=${SCRATCH}/home QT_QPA_PLATFORM=offscreen QM_INSTALL_PREFIX=${prefix})
execute_process(COMMAND ${env} ${RUNNER} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed program's run failed: ${result}")
endif()

# The installed executable itself starts on the learner's folders and shows
# its window (it ends right after the first showing).
execute_process(COMMAND ${env} QUILLMERE_EXIT_AFTER_SHOW=1 ${prefix}/bin/quillmere
                RESULT_VARIABLE result TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed quillmere did not start: ${result}")
endif()

snapshot(after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "something was written below the prefix")
endif()
if(NOT EXISTS ${SCRATCH}/home/.config/quillmere/Quillmere.Ini)
  message(FATAL_ERROR "no settings in the learner's config folder")
endif()
message(STATUS "installed program: first start, progress kept, prefix untouched")
