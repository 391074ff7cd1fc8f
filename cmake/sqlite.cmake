# SQLite, built in statically from its amalgamation: once per build tree, as the library
# brumix_sqlite. The amalgamation is fetched at the pinned version into the build tree
# (scripts/fetch-sqlite) unless BRUMIX_SQLITE_DIR names another folder that holds one.
set(BRUMIX_SQLITE_DIR "" CACHE PATH
    "A folder with SQLite's amalgamation (sqlite3.c, sqlite3.h); empty: the pinned one, fetched into the build tree")

if(BRUMIX_SQLITE_DIR)
    set(brumix_sqlite_dir ${BRUMIX_SQLITE_DIR})
else()
    set(brumix_sqlite_dir ${PROJECT_BINARY_DIR}/_deps/sqlite3)
    execute_process(COMMAND ${PROJECT_SOURCE_DIR}/scripts/fetch-sqlite ${brumix_sqlite_dir}
                    RESULT_VARIABLE brumix_fetch_status)
    if(NOT brumix_fetch_status EQUAL 0)
        message(FATAL_ERROR "SQLite's amalgamation could not be fetched (see above)")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/scripts/fetch-sqlite)
endif()
foreach(file sqlite3.c sqlite3.h)
    if(NOT EXISTS ${brumix_sqlite_dir}/${file})
        message(FATAL_ERROR "BRUMIX_SQLITE_DIR (${brumix_sqlite_dir}) holds no ${file}")
    endif()
endforeach()
file(STRINGS ${brumix_sqlite_dir}/sqlite3.h brumix_sqlite_version REGEX "^#define SQLITE_VERSION ")
string(REGEX REPLACE ".*\"(.*)\".*" "\\1" brumix_sqlite_version "${brumix_sqlite_version}")
message(STATUS "SQLite ${brumix_sqlite_version} from ${brumix_sqlite_dir}")

add_library(brumix_sqlite STATIC ${brumix_sqlite_dir}/sqlite3.c)
# SYSTEM: the project's warnings, -Werror among them, are for its own code.
target_include_directories(brumix_sqlite SYSTEM PUBLIC ${brumix_sqlite_dir})
target_compile_definitions(brumix_sqlite PRIVATE
    # The window's worker (or brumix.exe's one thread) opens, uses and closes each connection,
    # and no connection is shared between threads: the library's own state stays guarded, with
    # no lock on each connection's calls.
    SQLITE_THREADSAFE=2
    # Both programs load DLLs from the system folder alone; a database never names one to load.
    SQLITE_OMIT_LOAD_EXTENSION
    # A double-quoted name is an identifier only, never a string: a column that a browser's
    # database lacks fails the statement instead of reading as a constant.
    SQLITE_DQS=0
    # The schema of a database we did not write calls no function that has side effects.
    SQLITE_TRUSTED_SCHEMA=0
    # Temporary tables and sorts stay in memory: nothing of the rows being cleared is written
    # to a temporary file in the user's temporary folder.
    SQLITE_TEMP_STORE=3
    # No allocation statistics, which nothing reads; no lock around every allocation.
    SQLITE_DEFAULT_MEMSTATUS=0
    # Interfaces the program does not use.
    SQLITE_OMIT_DEPRECATED
    SQLITE_OMIT_SHARED_CACHE
)
# The library's own code: not the project's to warn about, debug or fuzz. Small rather than fast
# in the products (the databases are small); no debug information anywhere, which the host and
# fuzz builds would otherwise spend most of their time on.
target_compile_options(brumix_sqlite PRIVATE -w -g0 $<IF:$<BOOL:${WIN32}>,-Os,-O1>)
if(NOT WIN32)
    find_package(Threads REQUIRED)
    target_link_libraries(brumix_sqlite PUBLIC Threads::Threads m)
endif()
