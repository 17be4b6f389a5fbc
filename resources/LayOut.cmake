# Lays out the program directory next to the executable, as an installer would.
#
# Each language is a folder of fragments, one per area of the program (resources/Language/<name>/
# *.lan and *.hlp); they are joined in name order into <name>.LAN and <name>.HLP. The machine
# settings file is written only when it does not exist yet, as an installer writes it once: later
# starts must find what the program stored there ("Firsttime" = "FALSE" after the first start).
file(MAKE_DIRECTORY "${DEST}/Language" "${DEST}/Media" "${DEST}/fonts")

file(GLOB languages LIST_DIRECTORIES true "${SOURCE}/Language/*")
foreach(dir IN LISTS languages)
  if(NOT IS_DIRECTORY "${dir}")
    continue()
  endif()
  get_filename_component(name "${dir}" NAME)
  foreach(kind LAN HLP)
    string(TOLOWER "${kind}" ext)
    file(GLOB parts "${dir}/*.${ext}")
    list(SORT parts)
    if(NOT parts)
      continue()
    endif()
    set(joined "")
    foreach(part IN LISTS parts)
      file(READ "${part}" text)
      string(APPEND joined "${text}")
    endforeach()
    set(target "${DEST}/Language/${name}.${kind}")
    file(WRITE "${target}.new" "${joined}")
    file(COPY_FILE "${target}.new" "${target}" ONLY_IF_DIFFERENT)
    file(REMOVE "${target}.new")
  endforeach()
endforeach()

if(BRAVURA)
  # The music font travels with its licence.
  get_filename_component(bravura_dir "${BRAVURA}" DIRECTORY)
  file(COPY_FILE "${BRAVURA}" "${DEST}/fonts/Bravura.otf" ONLY_IF_DIFFERENT)
  file(COPY_FILE "${bravura_dir}/LICENSE.txt" "${DEST}/fonts/Bravura-LICENSE.txt" ONLY_IF_DIFFERENT)
endif()
if(NOT EXISTS "${DEST}/kalvintor.ini")
  file(WRITE "${DEST}/kalvintor.ini"
    "[4.0]\nFirsttime=TRUE\nDatapath=\n\n[MIDI]\nInputDevice=\nOutputDevice=\nSyncrodelay=0\n")
endif()
