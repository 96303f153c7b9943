cmake_minimum_required(VERSION 3.25)
# Fails when a source outside the lesson and the media engine includes the engine's façade:
# everything else reaches a lesson through its controller. The engine's own tests,
# benchmarks and fuzz target, and the test probes, look at the engine itself.
set(allowed "^(src/(media|lesson)/|tests/(media|lesson|support)/|tests/fuzz/fuzz_media\\.cpp$|bench/(bench_avsync|bench_engine|bench_videodecode|soak)\\.cpp$)")

file(GLOB_RECURSE sources RELATIVE "${ROOT}" "${ROOT}/src/*" "${ROOT}/tests/*" "${ROOT}/bench/*")
set(faults "")
foreach(f IN LISTS sources)
    if(NOT f MATCHES "\\.(h|cpp)$" OR f MATCHES "${allowed}")
        continue()
    endif()
    file(STRINGS "${ROOT}/${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]media/media\\.h[\">]")
    if(hits)
        list(APPEND faults "${f} includes media/media.h")
    endif()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "The engine reached around the lesson controller:\n  ${text}")
endif()
message(STATUS "only the lesson and the engine's own tests include the engine")
