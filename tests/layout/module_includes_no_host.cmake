# The module and the host meet only through host_api/: a module folder (or the contract itself) that includes a
# header of the stand-in host would tie the module to one host. Run as a script: cmake -DSOURCE_DIR=... -P this.
set(guarded_folders include framework devices ui features commands gen platform host_api)

set(offenders)
foreach(folder IN LISTS guarded_folders)
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]host/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
      list(APPEND offenders "${shown}: ${line}")
    endforeach()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n  " listed)
  message(FATAL_ERROR "The module includes the stand-in host's headers; include host_api/ instead:\n  ${listed}")
endif()
