# Every target of ours compiles cleanly with these; a new warning fails the build.
add_compile_options(-Wall -Wextra -Werror)
