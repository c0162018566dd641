# Lua 5.1, hidapi and libarchive, as the imported targets Clavitor::Lua, Clavitor::HidApi and
# LibArchive::LibArchive.
#
# On Debian Lua and hidapi come from pkg-config (liblua5.1-0-dev, libhidapi-dev). On Windows, where
# pkg-config is usually absent, hidapi comes from its CMake package (vcpkg: hidapi) and Lua
# 5.1 from LUA_INCLUDE_DIR and LUA_LIBRARY, found under the usual names of Lua 5.1 builds
# (lua5.1, lua51) or of LuaJIT, which offers the same API (vcpkg: luajit).

find_package(PkgConfig QUIET)

if(PKG_CONFIG_FOUND)
    pkg_check_modules(LUA QUIET IMPORTED_TARGET lua5.1)
endif()
if(TARGET PkgConfig::LUA)
    add_library(Clavitor::Lua ALIAS PkgConfig::LUA)
else()
    find_path(LUA_INCLUDE_DIR lua.hpp PATH_SUFFIXES lua5.1 lua51 luajit luajit-2.1)
    find_library(LUA_LIBRARY NAMES lua5.1 lua51 luajit-5.1 luajit)
    if(NOT LUA_INCLUDE_DIR OR NOT LUA_LIBRARY)
        message(FATAL_ERROR "Lua 5.1 not found: set LUA_INCLUDE_DIR and LUA_LIBRARY")
    endif()
    add_library(Clavitor::Lua UNKNOWN IMPORTED)
    set_target_properties(Clavitor::Lua PROPERTIES
        IMPORTED_LOCATION ${LUA_LIBRARY}
        INTERFACE_INCLUDE_DIRECTORIES ${LUA_INCLUDE_DIR})
endif()

if(PKG_CONFIG_FOUND AND NOT WIN32)
    pkg_check_modules(HIDAPI REQUIRED IMPORTED_TARGET hidapi-hidraw)
    add_library(Clavitor::HidApi ALIAS PkgConfig::HIDAPI)
else()
    find_package(hidapi CONFIG REQUIRED)
    add_library(Clavitor::HidApi ALIAS hidapi::hidapi)
endif()

# Profile archives (ZIP and tar) are written and read in-process. Debian: libarchive-dev;
# Windows: vcpkg's libarchive, found by the same module.
find_package(LibArchive 3.3 REQUIRED)

# QScintilla for Qt 6, the scenario editor's text component, as Clavitor::QScintilla. Debian:
# libqscintilla2-qt6-dev (headers under the Qt include folder, Qsci/); Windows: the library of
# the dependency cache, found the same way under its prefix.
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h
    HINTS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_HEADERS} ${Qt6Core_INCLUDE_DIRS}
    PATH_SUFFIXES qt6 x86_64-linux-gnu/qt6)
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
    message(FATAL_ERROR "QScintilla for Qt 6 not found: set QSCINTILLA_INCLUDE_DIR and QSCINTILLA_LIBRARY")
endif()
add_library(Clavitor::QScintilla UNKNOWN IMPORTED)
# QSCINTILLA_DLL marks its classes as imported from the shared library, as its own qmake feature
# file does: on Windows their data (the meta-objects) is then reached through the import table.
set_target_properties(Clavitor::QScintilla PROPERTIES
    IMPORTED_LOCATION ${QSCINTILLA_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${QSCINTILLA_INCLUDE_DIR}
    INTERFACE_COMPILE_DEFINITIONS QSCINTILLA_DLL)
