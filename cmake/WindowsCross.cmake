# Windows builds with MinGW: our programs carry the C++ and GCC runtimes statically, so they need
# no compiler DLLs of their own (Qt's DLLs still do; see MIREN_MINGW_RUNTIME_DLLS). When the
# build is a cross build from Linux, test programs run under Wine.
if(NOT MINGW)
  return()
endif()

add_link_options(-static)

# The MinGW runtime DLLs that a MinGW build of Qt links against, as the compiler finds them.
set(MIREN_MINGW_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(IS_ABSOLUTE "${dll_path}" AND EXISTS "${dll_path}")
    get_filename_component(dll_path "${dll_path}" REALPATH)
    list(APPEND MIREN_MINGW_RUNTIME_DLLS "${dll_path}")
  endif()
endforeach()

# SQLite for a cross build: the static library that `scripts/windows-qt sqlite` makes (SQLITE_MINGW,
# by default in the same cache as Qt for Windows); find_package(SQLite3) takes it from here.
if(CMAKE_CROSSCOMPILING)
  if(DEFINED ENV{SQLITE_MINGW})
    set(miren_sqlite_default "$ENV{SQLITE_MINGW}")
  elseif(DEFINED ENV{MIREN_CACHE})
    set(miren_sqlite_default "$ENV{MIREN_CACHE}/sqlite-mingw")
  else()
    set(miren_sqlite_default "$ENV{HOME}/.cache/miren-loader/sqlite-mingw")
  endif()
  set(MIREN_SQLITE_MINGW "${miren_sqlite_default}" CACHE PATH "SQLite built for Windows")
  if(EXISTS "${MIREN_SQLITE_MINGW}/lib/libsqlite3.a")
    set(SQLite3_INCLUDE_DIR "${MIREN_SQLITE_MINGW}/include" CACHE PATH "SQLite for Windows" FORCE)
    set(SQLite3_LIBRARY "${MIREN_SQLITE_MINGW}/lib/libsqlite3.a" CACHE FILEPATH
        "SQLite for Windows" FORCE)
  else()
    message(WARNING "No SQLite for Windows in ${MIREN_SQLITE_MINGW}: run scripts/windows-qt sqlite")
  endif()
endif()

if(NOT CMAKE_CROSSCOMPILING OR CMAKE_HOST_WIN32 OR CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()

find_program(MIREN_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
find_program(MIREN_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine
             NO_CMAKE_FIND_ROOT_PATH)
if(NOT MIREN_WINE OR NOT MIREN_WINESERVER)
  message(STATUS "Wine not found: the Windows test programs are built but cannot be run here")
  return()
endif()

# Wine takes WINEPATH as Windows paths separated by ';'; the Linux file system is drive Z:.
set(wine_dirs "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(dll IN LISTS MIREN_MINGW_RUNTIME_DLLS)
  get_filename_component(dir "${dll}" DIRECTORY)
  list(APPEND wine_dirs "${dir}")
endforeach()
set(MIREN_WINE_PATH)
foreach(dir IN LISTS wine_dirs)
  string(REPLACE "/" "\\" dir "Z:${dir}")
  list(APPEND MIREN_WINE_PATH "${dir}")
endforeach()
list(REMOVE_DUPLICATES MIREN_WINE_PATH)
# Sets on the Windows side the QT_* variables that Wine does not pass on (see wine-run.in).
add_executable(miren_wine_env ${CMAKE_CURRENT_LIST_DIR}/wine-env.cpp)
target_link_libraries(miren_wine_env PRIVATE shell32)
set_target_properties(miren_wine_env PROPERTIES OUTPUT_NAME wine-env
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
set(MIREN_WINE_ENV "${CMAKE_BINARY_DIR}/wine-env.exe")

set(MIREN_WINE_PREFIX "${CMAKE_BINARY_DIR}/wineprefix")
set(MIREN_WINE_RUN "${CMAKE_BINARY_DIR}/wine-run")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${MIREN_WINE_RUN} @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${MIREN_WINE_RUN}")
