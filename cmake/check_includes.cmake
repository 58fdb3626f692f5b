cmake_minimum_required(VERSION 3.25)
# Runs the include check as a script:
#   cmake -DWHAT=... -DQT_ROOT=... -DFORBIDDEN=a;b -DALLOWED=x;y -DSOURCE_DIR=...
#         -DFILES=f1;f2 -P cmake/check_includes.cmake
include(${CMAKE_CURRENT_LIST_DIR}/VornIncludeCheck.cmake)
vorn_check_includes("${WHAT}" "${QT_ROOT}" "${FORBIDDEN}" "${ALLOWED}" "${SOURCE_DIR}" ${FILES})
