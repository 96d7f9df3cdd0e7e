# Makes the links of an installed Kovadle; run by the install step (cmake --install,
# CPack). KOVADLE_APP_DIR, KOVADLE_DATA_DIR and KOVADLE_BIN_DIR are relative to the
# prefix.
set(prefix "${CMAKE_INSTALL_PREFIX}")
set(root "$ENV{DESTDIR}${prefix}")

# A link at <prefix>/<link> to <target>, an absolute path as the installed system
# sees it: relative when the target is inside the prefix (the tree can move, and
# Debian wants it so), absolute otherwise.
macro(kovadle_install_link target link)
  get_filename_component(link_dir "${prefix}/${link}" DIRECTORY)
  string(FIND "${target}/" "${prefix}/" at)
  if(at EQUAL 0)
    file(RELATIVE_PATH link_target "${link_dir}" "${target}")
  else()
    set(link_target "${target}")
  endif()
  get_filename_component(dest_dir "${root}/${link}" DIRECTORY)
  file(MAKE_DIRECTORY "${dest_dir}")
  file(REMOVE "${root}/${link}")
  file(CREATE_LINK "${link_target}" "${root}/${link}" SYMBOLIC)
  message(STATUS "Installing: ${root}/${link} -> ${link_target}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${root}/${link}")
endmacro()

foreach(program kovadle kovadle-cli)
  kovadle_install_link("${prefix}/${KOVADLE_APP_DIR}/${program}" "${KOVADLE_BIN_DIR}/${program}")
endforeach()
foreach(folder translations icon)
  kovadle_install_link("${prefix}/${KOVADLE_DATA_DIR}/${folder}" "${KOVADLE_APP_DIR}/${folder}")
endforeach()

# The tools: the one installed in the same prefix first (/usr/bin/ffmpeg for a
# package), else the first on PATH.
foreach(pair "encoder=ffmpeg" "mediainfo=ffprobe")
  string(REPLACE "=" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 tool)
  unset(found)
  unset(found CACHE)
  find_program(found NAMES ${tool} PATHS "${prefix}/bin" NO_DEFAULT_PATH)
  if(NOT found)
    find_program(found NAMES ${tool})
  endif()
  if(found)
    kovadle_install_link("${found}" "${KOVADLE_APP_DIR}/bin/${name}")
  else()
    message(WARNING "${tool} not found: ${KOVADLE_APP_DIR}/bin/${name} is not made, and Kovadle "
                    "will say so at start. Install ffmpeg and install Kovadle again.")
  endif()
endforeach()
