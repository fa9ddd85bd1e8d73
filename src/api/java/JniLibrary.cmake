# vela_add_jni_library(TARGET): libvelaecrjni.so, the adapters of the Java
# class ua.vela.ecr.VELALib over the library internals (velaecr_core). It
# exports only what velaecrjni.map lists: the JNI methods and the shared
# names, none of the C functions. The caller adds the include folders of
# jni.h and of the generated ua_vela_ecr_VELALib.h.
set(VELA_JNI_DIR ${CMAKE_CURRENT_LIST_DIR})

function(vela_add_jni_library target)
    add_library(${target} SHARED ${VELA_JNI_DIR}/VELALibJNI.cpp ${VELA_JNI_DIR}/JavaText.cpp
                                 ${VELA_JNI_DIR}/Cp1251Encoder.cpp)
    target_link_libraries(${target} PRIVATE velaecr_core)
    target_link_options(${target} PRIVATE
        -Wl,--version-script=${VELA_JNI_DIR}/velaecrjni.map -Wl,--no-undefined)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME velaecrjni
                                               LINK_DEPENDS ${VELA_JNI_DIR}/velaecrjni.map)
endfunction()
