# ASan + UBSan for the unit tests and the fuzz targets. Every finding aborts, so a report cannot scroll past.
set(BRENNIC_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${BRENNIC_SANITIZER_FLAGS})
add_link_options(-fsanitize=address,undefined)
# Bounds-checked standard containers: an index past a vector's end aborts even inside its spare capacity.
add_compile_definitions(_GLIBCXX_ASSERTIONS)
if(BRENNIC_FUZZ)
  # Reads between a vector's size and its capacity are reported too. Only the fuzz build: there every vector
  # is compiled by us, so the annotations stay consistent.
  add_compile_definitions(_GLIBCXX_SANITIZE_VECTOR)
endif()
