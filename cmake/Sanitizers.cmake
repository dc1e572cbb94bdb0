# ASan + UBSan for the unit tests and the fuzz targets. Every finding aborts, so a report cannot scroll past.
set(BRENNIC_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(${BRENNIC_SANITIZER_FLAGS})
add_link_options(-fsanitize=address,undefined)
