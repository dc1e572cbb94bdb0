# Warnings are errors in every build. MSVC gets the equivalent set so the code stays clean there too.
function(brennic_warnings target)
  if(MSVC)
    # /utf-8: the sources hold UTF-8 texts. /Zc:__cplusplus: the standard's version macro as other compilers give it.
    target_compile_options(${target} PRIVATE /W4 /WX /permissive- /utf-8 /Zc:__cplusplus)
    # MSVC calls std::getenv and std::fopen unsafe (C4996). Brennic's own code opens files by wide name through
    # _wfsopen; what remains are the demo program and the tests reading their environment variables and writing
    # record files, where the standard functions are used on purpose, so that the same code builds everywhere.
    target_compile_definitions(${target} PRIVATE _CRT_SECURE_NO_WARNINGS)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wnull-dereference -Werror)
  endif()
endfunction()
