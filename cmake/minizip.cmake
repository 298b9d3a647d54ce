# minizip is not packaged for MinGW: scripts/bootstrap.sh fetches its source from
# Debian's zlib source package into build/deps/minizip; it is compiled here
# against the target's zlib.
set(ZR_MINIZIP_DIR ${CMAKE_SOURCE_DIR}/build/deps/minizip)
if(NOT EXISTS ${ZR_MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip source missing in ${ZR_MINIZIP_DIR}: run scripts/bootstrap.sh")
endif()
find_package(ZLIB REQUIRED)
add_library(minizip STATIC ${ZR_MINIZIP_DIR}/unzip.c ${ZR_MINIZIP_DIR}/ioapi.c ${ZR_MINIZIP_DIR}/zip.c)
target_include_directories(minizip PUBLIC ${ZR_MINIZIP_DIR})
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
# Third-party code: keep its warnings out of the kit's build output.
target_compile_options(minizip PRIVATE -w)
