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
