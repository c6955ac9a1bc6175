# Warnings and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra)

if(MIVRA_SANITIZE)
  add_compile_options(-fsanitize=${MIVRA_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=${MIVRA_SANITIZE})
endif()

# ccache, when installed, keeps rebuilds short on small machines; paths are
# hashed relative to the checkout, so two checkouts share the cache.
find_program(MIVRA_CCACHE ccache)
if(MIVRA_CCACHE)
  set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} ${MIVRA_CCACHE})
  set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
endif()
