# Fails when a source file includes a header of a layer above its own. The
# engine's layers, lowest first: matrix, stats, factor, analyses, report.
# data (reading samples) stands on matrix alone, platform (the calls of the
# operating system) on nothing; app stands on all of them. The window (app/qt)
# and the batch front end (app/batch) stand on app and never on each other;
# the R package (r/src) stands on the engine, data and platform, without app;
# the browser's module (web/module) runs talver-batch's rules, on app and
# app/batch.
# Run as: cmake -DSOURCE_DIR=<top> -P CheckLayers.cmake
set(layers matrix stats factor analyses report)
set(violations "")

function(check_folder folder allowed)
  file(GLOB files ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
      string(REGEX MATCH "^[a-z]+(/[a-z]+)?/" prefix "${header}")
      if(prefix STREQUAL "")
        continue()
      endif()
      string(REGEX REPLACE "/$" "" prefix "${prefix}")
      # app/qt/x.h and app/batch/x.h are front ends; app/x.h is the app layer.
      if(NOT prefix MATCHES "^app/(qt|batch)$")
        string(REGEX REPLACE "/.*" "" prefix "${prefix}")
      endif()
      list(FIND allowed "${prefix}" found)
      if(found EQUAL -1)
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
        set(violations "${violations}\n  ${shown} includes \"${header}\"" PARENT_SCOPE)
        set(violations "${violations}\n  ${shown} includes \"${header}\"")
      endif()
    endforeach()
  endforeach()
endfunction()

set(allowed "")
foreach(layer ${layers})
  list(APPEND allowed ${layer})
  check_folder(${layer} "${allowed}")
endforeach()
check_folder(data "matrix;data")
check_folder(data/unread "matrix;data")
check_folder(platform "platform")
check_folder(platform/posix "platform")
check_folder(platform/windows "platform")
check_folder(platform/browser "platform")
set(engine "${allowed}")
list(APPEND allowed data platform app)
check_folder(app "${allowed}")
check_folder(app/qt "${allowed};app/qt")
check_folder(app/batch "${allowed};app/batch")
# The R package compiles the engine without app.
check_folder(r/src "${engine};data;platform")
check_folder(web/module "${allowed};app/batch;web")

if(violations)
  message(FATAL_ERROR "Includes of a higher layer:${violations}")
endif()
message(STATUS "Every include stays within its layer or below")
