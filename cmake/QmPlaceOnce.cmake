# cmake -DSRC=file -DDST=file -P QmPlaceOnce.cmake
# Copies SRC to DST only when DST does not exist: the program directory keeps
# the user's settings and the state of the demo lessons across builds.
if(NOT EXISTS "${DST}")
  get_filename_component(dir "${DST}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${SRC}" "${DST}")
  message(STATUS "Placed ${DST}")
endif()
