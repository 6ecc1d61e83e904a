# GoogleTest from Debian's googletest sources, jsoncpp from Debian's libjsoncpp
# source package (fetched into third_party/ by scripts/setup.sh).
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(JSONCPP_SOURCE_DIR ${PROJECT_SOURCE_DIR}/third_party/jsoncpp CACHE PATH "jsoncpp sources")

if(BUILD_TESTING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

if(NOT EXISTS ${JSONCPP_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "jsoncpp sources missing in ${JSONCPP_SOURCE_DIR}: run scripts/setup.sh")
endif()
set(JSONCPP_WITH_TESTS OFF CACHE BOOL "" FORCE)
set(JSONCPP_WITH_POST_BUILD_UNITTEST OFF CACHE BOOL "" FORCE)
set(JSONCPP_WITH_PKGCONFIG_SUPPORT OFF CACHE BOOL "" FORCE)
set(JSONCPP_WITH_CMAKE_PACKAGE OFF CACHE BOOL "" FORCE)
set(JSONCPP_WITH_EXAMPLE OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(BUILD_STATIC_LIBS ON CACHE BOOL "" FORCE)
set(BUILD_OBJECT_LIBS OFF CACHE BOOL "" FORCE)
add_subdirectory(${JSONCPP_SOURCE_DIR} ${CMAKE_BINARY_DIR}/jsoncpp EXCLUDE_FROM_ALL SYSTEM)
# One name for the rest of the tree, whatever jsoncpp calls its static target.
add_library(jsoncpp ALIAS jsoncpp_static)
