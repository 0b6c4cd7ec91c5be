# Warnings and sanitizers shared by every target of the project.
add_library(nerix_options INTERFACE)
target_compile_options(nerix_options INTERFACE -Wall -Wextra)

if(NERIX_SANITIZE)
    set(_nerix_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    target_compile_options(nerix_options INTERFACE ${_nerix_san})
    target_link_options(nerix_options INTERFACE ${_nerix_san})
endif()
