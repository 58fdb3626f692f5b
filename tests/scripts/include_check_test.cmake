cmake_minimum_required(VERSION 3.25)
# The include check of the designer's rules: a widget header or a header of
# the designer's windows in designer/core fails; Qt Gui and the engine pass.
#   cmake -DQT_ROOT=... -DSOURCE_DIR=... -DFORBIDDEN=... -DALLOWED=... -P this
set(dir ${CMAKE_CURRENT_BINARY_DIR}/include_check_tree)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir}/designer/core ${dir}/designer/ui ${dir}/report/objects)
file(WRITE ${dir}/report/objects/frview.h "#pragma once\n")
file(WRITE ${dir}/designer/ui/window.h "#pragma once\n")

function(run_check name content expect_failure expect_text)
  file(WRITE ${dir}/designer/core/${name}.cpp "${content}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} "-DWHAT=check" "-DQT_ROOT=${QT_ROOT}" "-DFORBIDDEN=${FORBIDDEN}"
            "-DALLOWED=${ALLOWED}" "-DSOURCE_DIR=${dir}" "-DFILES=${dir}/designer/core/${name}.cpp"
            -P ${SOURCE_DIR}/cmake/check_includes.cmake
    RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_QUIET)
  if(expect_failure AND rc EQUAL 0)
    message(FATAL_ERROR "${name}: the check let this through:\n${content}")
  elseif(NOT expect_failure AND NOT rc EQUAL 0)
    message(FATAL_ERROR "${name}: the check refused this:\n${content}\n${err}")
  endif()
  if(expect_text AND NOT err MATCHES "${expect_text}")
    message(FATAL_ERROR "${name}: the message does not name the include:\n${err}")
  endif()
  file(REMOVE ${dir}/designer/core/${name}.cpp)
endfunction()

run_check(gui_and_engine "#include <QImage>\n#include <QPainter>\n#include <QRegion>\n#include \"report/objects/frview.h\"\n" OFF "")
run_check(plain_widget "#include <QWidget>\n" ON "QWidget")
run_check(module_spelling "#include <QtWidgets/QPushButton>\n" ON "QPushButton")
run_check(window_header "  #  include \"designer/ui/window.h\"\n" ON "designer/ui/window.h")
file(REMOVE_RECURSE ${dir})
