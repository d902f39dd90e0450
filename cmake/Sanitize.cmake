# ORVEX_SANITIZE: everything (library, tests, tools, demo) built with
# AddressSanitizer and UndefinedBehaviorSanitizer. Any report ends the
# program with an error, so a test that meets one fails.
option(ORVEX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ORVEX_SANITIZE)
  set(ORVEX_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${ORVEX_SANITIZE_FLAGS})
  # g++ drops its default --as-needed when it links the sanitizers; keep
  # it, so each binary still links only the libraries it uses.
  add_link_options(-fsanitize=address,undefined -Wl,--as-needed)
endif()
