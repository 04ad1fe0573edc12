# Our own targets build with every warning as an error; third-party headers are
# included as system headers and stay out of it.
function(korvanth_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Collects the sources of one folder; new files are picked up at the next build.
function(korvanth_sources out_var)
  file(GLOB found CONFIGURE_DEPENDS ${ARGN})
  set(${out_var} ${found} PARENT_SCOPE)
endfunction()
