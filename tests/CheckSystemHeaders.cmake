# Fails when a source file outside platform/ includes a header of an operating
# system, of one C library, or of one processor: such calls belong in
# platform/, behind a header of its own with one implementation per system,
# so that the rest builds for Linux, Windows, macOS, ARM and the browser.
# The checked folders are the program's and those of the test programs that
# run on every system; the tests of talver-batch, the window and the fuzz
# targets drive processes and files as only a POSIX system does.
# Run as: cmake -DSOURCE_DIR=<top> -P CheckSystemHeaders.cmake
set(folders matrix stats factor analyses report data app r/src examples)

# unistd.h, fcntl.h, sys/..., windows.h and its kin, signals, process
# spawning, the C library's heap settings, thread and loader calls, and the
# processor's intrinsics and feature queries.
set(system_header
  "^(unistd|fcntl|spawn|malloc|pthread|dlfcn|termios|dirent|pwd|poll|sched|signal|xlocale|cpuid|io|direct|process|windows|winbase|winsock2|shlobj|shellapi|arm_neon)\\.h$|^csignal$|^(sys|mach|linux)/|intrin\\.h$")

set(violations "")
foreach(folder ${folders})
  file(GLOB_RECURSE files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*<([^>]*)>.*" "\\1" header "${line}")
      string(TOLOWER "${header}" lowered)
      if(lowered MATCHES "${system_header}")
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        string(APPEND violations "\n  ${shown} includes <${header}>")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Operating-system headers outside platform/:${violations}")
endif()
message(STATUS "Only platform/ includes operating-system headers")
