# Warnings are errors in every build. MSVC gets the equivalent set so the code stays clean there too.
function(brennic_warnings target)
  if(MSVC)
    # /utf-8: the sources hold UTF-8 texts. /Zc:__cplusplus: the standard's version macro as other compilers give it.
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8 /Zc:__cplusplus)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference -Werror)
  endif()
endfunction()
