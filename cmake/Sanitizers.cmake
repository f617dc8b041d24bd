if(ZEL_SANITIZE)
  # GCC's `undefined` leaves out an overflowing float-to-integer conversion
  # (a fit's wild result cast to an index) and a float division by zero (no
  # code here counts on IEEE infinities from it).
  set(ZEL_UB_CHECKS undefined,float-cast-overflow,float-divide-by-zero)
  add_compile_options(-fsanitize=address,${ZEL_UB_CHECKS} -fno-sanitize-recover=${ZEL_UB_CHECKS}
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,${ZEL_UB_CHECKS})
endif()
if(ZEL_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()
if(ZEL_FUZZ)
  # Coverage for libFuzzer in everything; the fuzzer entry is linked into the targets only.
  # Clang's `undefined` has the float-to-integer check but not the division.
  # -O1 as libFuzzer advises: a flight's statistics run four times faster than at -O0.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined,float-divide-by-zero -fno-omit-frame-pointer -O1)
  add_link_options(-fsanitize=address,undefined,float-divide-by-zero)
endif()
