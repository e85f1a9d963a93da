# One place for the compile policy: every target of ours links vantro_policy.
add_library(vantro_policy INTERFACE)
target_compile_features(vantro_policy INTERFACE cxx_std_20)
target_compile_options(vantro_policy INTERFACE -Wall -Wextra -Wpedantic -Wshadow)
if(VANTRO_WERROR)
    target_compile_options(vantro_policy INTERFACE -Werror)
endif()
target_compile_definitions(vantro_policy INTERFACE
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS)
if(VANTRO_SANITIZE)
    target_compile_options(vantro_policy INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
    target_link_options(vantro_policy INTERFACE -fsanitize=address,undefined)
endif()
# Fuzzing instruments our code for coverage and checks it as the sanitizer build does.
if(VANTRO_FUZZ)
    target_compile_options(vantro_policy INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                           -fno-omit-frame-pointer)
    target_link_options(vantro_policy INTERFACE -fsanitize=address,undefined)
endif()
