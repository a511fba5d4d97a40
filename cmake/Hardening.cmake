# The program runs as root, so both programs are built hardened in every optimised build
# (Release, RelWithDebInfo, MinSizeRel): fortified libc calls (level 3 where the compiler
# and C library have it, else 2), strong stack protector, stack clash protection,
# control-flow protection, position-independent executables, and a relocation table
# that is bound at start-up and then made read-only.
# Fortification needs optimisation, so a Debug build goes without it.
include(CheckCXXCompilerFlag)
include(CheckCXXSourceCompiles)
include(CheckPIESupported)

set(CMAKE_REQUIRED_FLAGS "-O2 -U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=3")
check_cxx_source_compiles("
  #include <cstdio>
  #if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL < 3
  #error fortify level 3 unavailable
  #endif
  int main() { return 0; }" KESTRELIA_HAS_FORTIFY_3)
unset(CMAKE_REQUIRED_FLAGS)
if(KESTRELIA_HAS_FORTIFY_3)
  set(fortify_level 3)
else()
  set(fortify_level 2)
endif()
add_compile_options(-U_FORTIFY_SOURCE "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=${fortify_level}>")

add_compile_options(-fstack-protector-strong)
foreach(flag stack-clash-protection cf-protection)
  string(MAKE_C_IDENTIFIER "KESTRELIA_HAS_${flag}" has_flag)
  check_cxx_compiler_flag(-f${flag} ${has_flag})
  if(${has_flag})
    add_compile_options(-f${flag})
  endif()
endforeach()

check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_link_options(-Wl,-z,relro,-z,now)
