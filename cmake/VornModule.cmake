# Helpers shared by every module: a module is a static library made of every
# source found under the folders it names, so adding a file needs no edit here.

set(VORN_QT_PCH_CORE <QString> <QStringList> <QList> <QHash> <QMap> <QByteArray> <QVariant>
    <QDateTime> <memory> <vector> <string> <functional>)
set(VORN_QT_PCH_GUI ${VORN_QT_PCH_CORE} <QWidget> <QMainWindow> <QDialog> <QLabel>
    <QPushButton> <QLineEdit> <QComboBox> <QPainter> <QApplication>)

function(vorn_collect out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS
         ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# Qt modules whose headers a Core-only module may not include.
set(VORN_QT_WIDGET_MODULES QtGui QtWidgets QtPrintSupport QtCharts QtOpenGL QtOpenGLWidgets QtSvg
    QtWebEngineCore QtWebEngineWidgets)

include(${CMAKE_CURRENT_LIST_DIR}/VornIncludeCheck.cmake)

# The Qt root include folder (the parent of QtCore), or "".
function(vorn_qt_root out)
  get_target_property(qt_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
  set(qt_root "")
  foreach(d IN LISTS qt_dirs)
    if(d MATCHES "^(.*)/QtCore/?$")
      set(qt_root ${CMAKE_MATCH_1})
    endif()
  endforeach()
  set(${out} ${qt_root} PARENT_SCOPE)
endfunction()

# Fails the configuration when a source of a Core-only module includes a
# header of a widget-side Qt module, or a project header from a folder that is
# not its own nor one of its Core-only dependencies'. A stray include would
# otherwise compile (the Qt root include folder is shared by every module) and
# drag the widgets into tests, benchmarks and fuzz targets that must run
# without them.
function(vorn_check_core_includes name allowed_dirs)
  vorn_qt_root(qt_root)
  vorn_check_includes("${name} is a Core-only library" "${qt_root}" "${VORN_QT_WIDGET_MODULES}"
                      "${allowed_dirs}" ${CMAKE_SOURCE_DIR} ${ARGN})
endfunction()

# vorn_module(NAME DIRS dir... [EXCLUDE dir...] LIBS lib... [GUI] [NO_UNITY])
# A module without GUI is Core-only: it may link only Qt Core and other
# Core-only modules, and its sources are checked by vorn_check_core_includes.
function(vorn_module name)
  cmake_parse_arguments(M "GUI;NO_UNITY" "" "DIRS;EXCLUDE;LIBS;RESOURCES" ${ARGN})
  vorn_collect(srcs ${M_DIRS})
  foreach(ex IN LISTS M_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${ex}/")
  endforeach()
  if(NOT M_GUI)
    set(allowed ${M_DIRS})
    foreach(lib IN LISTS M_LIBS)
      if(lib MATCHES "^Qt6::" AND NOT lib STREQUAL "Qt6::Core")
        message(FATAL_ERROR "${name} is a Core-only library and cannot link ${lib}")
      elseif(TARGET ${lib} AND NOT lib MATCHES "^Qt6::")
        get_target_property(lib_core ${lib} VORN_CORE_DIRS)
        if(NOT lib_core)
          message(FATAL_ERROR "${name} is a Core-only library and cannot link ${lib}")
        endif()
        list(APPEND allowed ${lib_core})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES allowed)
    vorn_check_core_includes(${name} "${allowed}" ${srcs})
  endif()
  if(NOT srcs)
    # A module whose folders are still empty keeps the dependency graph whole.
    # Written only when it changes: a new time stamp at every configure would
    # recompile it and relink the program on every run.
    set(stub ${CMAKE_BINARY_DIR}/stubs/${name}_empty.cpp)
    file(CONFIGURE OUTPUT ${stub} CONTENT "namespace { [[maybe_unused]] int ${name}_empty; }\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs} ${M_RESOURCES})
  if(VORN_UNITY AND NOT M_NO_UNITY)
    # A cold build (CI) parses the Qt headers once per batch of sources
    # instead of once per file: the libraries build in half the time.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
  endif()
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${M_LIBS})
  if(M_GUI)
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_GUI})
  else()
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_CORE})
    # The folders a Core-only module and its Core-only dependencies own.
    set_target_properties(${name} PROPERTIES VORN_CORE_DIRS "${allowed}")
  endif()
endfunction()

# vorn_test(NAME DIRS dir... [EXCLUDE dir...] LIBS lib... [CORE])
# CORE tests run under a QCoreApplication main and link Qt Core only;
# the others get a QApplication on the offscreen platform.
function(vorn_test name)
  cmake_parse_arguments(T "CORE" "" "DIRS;EXCLUDE;LIBS" ${ARGN})
  vorn_collect(srcs ${T_DIRS})
  foreach(ex IN LISTS T_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${ex}/")
  endforeach()
  if(NOT srcs)
    return()
  endif()
  if(T_CORE)
    list(APPEND srcs ${CMAKE_SOURCE_DIR}/tests/support/core_test_main.cpp)
    set(extra vorn_test_support_core)
  else()
    list(APPEND srcs ${CMAKE_SOURCE_DIR}/tests/support/gui_test_main.cpp)
    set(extra vorn_test_support_gui)
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${extra} GTest::gtest GTest::gmock)
  # Test sources are long sequences of assertions that optimising only makes
  # slower to compile (half the time at -O0); the code under test keeps the
  # build's own level.
  target_compile_options(${name} PRIVATE $<$<CONFIG:Debug>:-O0>)
  # The undefined-behaviour checks are for the code under test, which every
  # library is built with; instrumenting the assertions too made the tests
  # compile a third slower. The address checks stay: the linker may keep the
  # tests' copies of inline functions and templates for the libraries too.
  if(VORN_SANITIZE)
    target_compile_options(${name} PRIVATE -fno-sanitize=undefined)
  endif()
  if(VORN_UNITY)
    # Batches of eight: with the line above, a cold build compiles the tests in
    # half the time, and a changed test file recompiles only its batch.
    set_target_properties(${name} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
    # A fixture in an unnamed namespace is private to its file, batched or
    # not; GCC warns about it only once the file is included in a batch.
    target_compile_options(${name} PRIVATE $<$<CXX_COMPILER_ID:GNU>:-Wno-subobject-linkage>)
  endif()
  target_compile_definitions(${name} PRIVATE VORN_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
  if(T_CORE)
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_CORE} <gtest/gtest.h>)
  else()
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_GUI} <gtest/gtest.h>)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0;LC_ALL=C")
endfunction()
