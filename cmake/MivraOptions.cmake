# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra)

if(MIVRA_SANITIZE)
  add_compile_options(-fsanitize=${MIVRA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${MIVRA_SANITIZE})
endif()
