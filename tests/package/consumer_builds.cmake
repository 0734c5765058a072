# Builds examples/ from scratch three ways, as an outside project would use the
# libraries, and runs the headless example of one of them:
#   package       the README's library-only configure, build and install
#                 (its three command lines, read from README.md) into a
#                 temporary prefix, then find_package(zkw_vexa) against it
#   subdirectory  add_subdirectory of the source tree
#   fetch         FetchContent of the source tree
# Run with cmake -P and these variables:
#   SOURCE_DIR WORK_DIR GENERATOR CXX_COMPILER [EXTRA_FLAGS] [CXX_LAUNCHER]
# Only the libraries the example needs and the example compile (no tests,
# benchmarks or demo), without optimisation, two jobs at a time.
cmake_minimum_required(VERSION 3.25)

foreach(Var SOURCE_DIR WORK_DIR GENERATOR CXX_COMPILER)
  if(NOT DEFINED ${Var})
    message(FATAL_ERROR "consumer_builds: ${Var} is not set")
  endif()
endforeach()

function(zkw_run Label)
  string(TIMESTAMP Start "%s")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE Status OUTPUT_VARIABLE Out ERROR_VARIABLE Out)
  string(TIMESTAMP End "%s")
  math(EXPR Seconds "${End} - ${Start}")
  if(NOT Status EQUAL 0)
    message("${Out}")
    message(FATAL_ERROR "consumer_builds: ${Label} failed (${Status})")
  endif()
  message(STATUS "${Label}: ok (${Seconds} s)")
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(Prefix ${WORK_DIR}/prefix)
string(TIMESTAMP TestStart "%s")

# The README's commands as a newcomer types them, so that they stay true:
# the library-only configure, its build and its install. Only the places
# change (this source tree, a build folder and the prefix under WORK_DIR).
file(STRINGS ${SOURCE_DIR}/README.md ReadmeCommands
     REGEX "^cmake (-S \\. -B build-lib |--build build-lib|--install build-lib )")
list(LENGTH ReadmeCommands Count)
if(NOT Count EQUAL 3)
  message(FATAL_ERROR "consumer_builds: README.md should hold the library-only configure, build and install "
                      "(cmake -S . -B build-lib ..., cmake --build build-lib, cmake --install build-lib ...), "
                      "found ${Count} of them: ${ReadmeCommands}")
endif()
foreach(Line IN LISTS ReadmeCommands)
  string(REPLACE "-S . " "-S ${SOURCE_DIR} " Line "${Line}")
  string(REPLACE "build-lib" "${WORK_DIR}/build-lib" Line "${Line}")
  string(REPLACE "/opt/zkw" "${Prefix}" Line "${Line}")
  separate_arguments(Args UNIX_COMMAND "${Line}")
  list(POP_FRONT Args)  # "cmake"
  list(GET Args 0 Step)
  if(Step STREQUAL "-S")
    # Proof that the configure needs neither: CMake may not find them. The
    # compiler (and a launcher) as for the consumers below.
    list(APPEND Args -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
         -DCMAKE_CXX_COMPILER=${CXX_COMPILER})
    if(CXX_LAUNCHER)
      list(APPEND Args "-DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER}")
    endif()
  endif()
  zkw_run("README: cmake ${Step} (library only)" ${CMAKE_COMMAND} ${Args})
endforeach()
file(GLOB_RECURSE PackageConfig ${Prefix}/*/zkw_vexaConfig.cmake)
if(NOT PackageConfig)
  message(FATAL_ERROR "consumer_builds: the README's install left no package in ${Prefix}")
endif()
if(EXISTS ${WORK_DIR}/build-lib/quick)
  # QML tools of a program built against the prefix read the installed
  # module: qmllint knows VexaItem and Mark through that import path alone.
  file(GLOB_RECURSE Qmldir ${Prefix}/qmldir)
  list(FILTER Qmldir INCLUDE REGEX "/Zkw/Vexa/qmldir$")
  if(NOT Qmldir)
    message(FATAL_ERROR "consumer_builds: the install left no qmldir of Zkw.Vexa in ${Prefix}")
  endif()
  get_filename_component(QmlImportPath ${Qmldir} DIRECTORY)
  get_filename_component(QmlImportPath ${QmlImportPath}/../.. ABSOLUTE)
  find_program(Qmllint qmllint HINTS /usr/lib/qt6/bin NO_CACHE)
  if(Qmllint)
    zkw_run("package: qmllint the QML example against the installed module"
            ${Qmllint} -I ${QmlImportPath} ${SOURCE_DIR}/examples/quick/Main.qml)
  else()
    message(STATUS "package: qmllint not found (Debian: qt6-declarative-dev-tools); the installed module is not linted")
  endif()
endif()

set(Common -G ${GENERATOR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=)
if(CXX_LAUNCHER)
  # e.g. ccache: the fetch build then reuses the subdirectory build's objects
  # (same sources, flags and object paths).
  list(APPEND Common "-DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER}")
endif()
if(EXTRA_FLAGS)
  list(APPEND Common "-DCMAKE_CXX_FLAGS=${EXTRA_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${EXTRA_FLAGS}")
endif()

foreach(Mode package subdirectory fetch)
  set(Dir ${WORK_DIR}/${Mode})
  set(Args ${Common} -DZKW_VEXA_FROM=${Mode} -DZKW_VEXA_SOURCE_DIR=${SOURCE_DIR})
  if(Mode STREQUAL "package")
    # Only the temporary prefix may provide the package.
    list(APPEND Args -DCMAKE_PREFIX_PATH=${Prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
  endif()
  zkw_run("${Mode}: configure" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${Dir} ${Args})
  # The example alone: the libraries it links, not the Qt Widgets one.
  zkw_run("${Mode}: build" ${CMAKE_COMMAND} --build ${Dir} -j2 --target zkw_example_headless)
  # The QML example, when the libraries were built with Qt Quick: the item
  # and its QML module reach a consumer all three ways.
  if(EXISTS ${WORK_DIR}/build-lib/quick)
    zkw_run("${Mode}: build the QML example" ${CMAKE_COMMAND} --build ${Dir} -j2 --target quickdemo)
  endif()
endforeach()
if(EXISTS ${WORK_DIR}/build-lib/quick)
  # The installed package's item, its module imported by the QML without a
  # registration call, shown offscreen after a drag.
  set(ENV{QT_QPA_PLATFORM} offscreen)
  set(ENV{QT_QUICK_BACKEND} software)
  zkw_run("package: run the QML example headless" ${WORK_DIR}/package/quick/quickdemo
          --screenshot ${WORK_DIR}/quickdemo.png --drag 200,150,260,190)
  if(NOT EXISTS ${WORK_DIR}/quickdemo.png)
    message(FATAL_ERROR "consumer_builds: the QML example did not write ${WORK_DIR}/quickdemo.png")
  endif()
endif()
# The Qt Widgets example against the installed package: zkw::widgets is
# exported with everything it needs.
zkw_run("package: build the widgets example" ${CMAKE_COMMAND} --build ${WORK_DIR}/package -j2 --target zkw_example_embed)
# The programs of the getting-started guide, so that its code always builds.
zkw_run("package: build the getting-started steps" ${CMAKE_COMMAND} --build ${WORK_DIR}/package -j2
        --target zkw_step1 zkw_step2 zkw_step3 zkw_step4 zkw_step5)

# The program built against the installed package, without a display.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(Out ${WORK_DIR}/headless_chart)
zkw_run("package: run the headless example" ${WORK_DIR}/package/headless/zkw_example_headless ${Out})
foreach(File ${Out}.png ${Out}.pdf)
  if(NOT EXISTS ${File})
    message(FATAL_ERROR "consumer_builds: the example did not write ${File}")
  endif()
endforeach()
file(READ ${Out}.png Magic LIMIT 4 HEX)
# Both in hex: CMake 3.25 reads one character too many in text mode.
file(READ ${Out}.pdf PdfMagic LIMIT 5 HEX)
if(NOT Magic STREQUAL "89504e47" OR NOT PdfMagic STREQUAL "255044462d")
  message(FATAL_ERROR "consumer_builds: the example's files are not a PNG and a PDF")
endif()
string(TIMESTAMP TestEnd "%s")
math(EXPR Total "${TestEnd} - ${TestStart}")
message(STATUS "consumer builds: all ok in ${Total} s")
