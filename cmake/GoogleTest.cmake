# GoogleTest from the distribution's sources, built with our own flags (sanitizers,
# or the MinGW cross compiler), so the same tests run natively and under Wine.
set(ZEL_GOOGLETEST_DIR /usr/src/googletest CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
# Their sources are not ours: they need not meet our warning policy.
set(_zel_saved_options "${CMAKE_CXX_FLAGS}")
add_subdirectory(${ZEL_GOOGLETEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(_target gtest gtest_main)
  target_compile_options(${_target} PRIVATE -Wno-error)
endforeach()
