# Our own targets build warning-clean; vendored code gets its own targets with warnings off.
function(quoril_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  endif()
endfunction()
