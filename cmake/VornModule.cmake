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

# vorn_module(NAME DIRS dir... [EXCLUDE dir...] LIBS lib... [GUI])
function(vorn_module name)
  cmake_parse_arguments(M "GUI" "" "DIRS;EXCLUDE;LIBS;RESOURCES" ${ARGN})
  vorn_collect(srcs ${M_DIRS})
  foreach(ex IN LISTS M_EXCLUDE)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/${ex}/")
  endforeach()
  if(NOT srcs)
    # A module whose folders are still empty keeps the dependency graph whole.
    set(stub ${CMAKE_BINARY_DIR}/stubs/${name}_empty.cpp)
    file(WRITE ${stub} "namespace { [[maybe_unused]] int ${name}_empty; }\n")
    set(srcs ${stub})
  endif()
  add_library(${name} STATIC ${srcs} ${M_RESOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${M_LIBS})
  if(M_GUI)
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_GUI})
  else()
    target_precompile_headers(${name} PRIVATE ${VORN_QT_PCH_CORE})
  endif()
endfunction()

# vorn_test(NAME DIRS dir... LIBS lib... [CORE])
# CORE tests run under a QCoreApplication main and link Qt Core only;
# the others get a QApplication on the offscreen platform.
function(vorn_test name)
  cmake_parse_arguments(T "CORE" "" "DIRS;LIBS" ${ARGN})
  vorn_collect(srcs ${T_DIRS})
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
