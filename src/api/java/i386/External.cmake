# The 32-bit library: a separate CMake build of the same sources with the
# i686 cross compiler against the private i386 tree that
# scripts/i386-sysroot.sh prepares once in the build folder. Sets the global
# properties VELA_JNI32_LIBRARY (the built library) and VELA_JAVA32 (a
# command that runs the 32-bit JVM).
include(ExternalProject)

set(vela_sysroot ${CMAKE_BINARY_DIR}/i386-sysroot)
set(vela_sysroot_stamp ${vela_sysroot}/stamp)
add_custom_command(OUTPUT ${vela_sysroot_stamp}
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/i386-sysroot.sh ${vela_sysroot}
    COMMAND ${CMAKE_COMMAND} -E touch ${vela_sysroot_stamp}
    DEPENDS ${PROJECT_SOURCE_DIR}/scripts/i386-sysroot.sh
    COMMENT "Preparing the i386 tree in ${vela_sysroot}"
    USES_TERMINAL)
add_custom_target(velaecr_i386_sysroot DEPENDS ${vela_sysroot_stamp})

set(vela_jni32_dir ${CMAKE_CURRENT_BINARY_DIR}/i386)
ExternalProject_Add(velaecrjni32
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${vela_jni32_dir}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_CURRENT_LIST_DIR}/toolchain.cmake
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DVELA_ROOT=${PROJECT_SOURCE_DIR}
        -DVELA_SYSROOT=${vela_sysroot}
        -DVELA_JAVA_HOME=${vela_java_home}
        -DVELA_JNI_HEADERS=${CMAKE_CURRENT_BINARY_DIR}/jni-headers
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j 2
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS velaecr_i386_sysroot velaecr_jar
    BUILD_BYPRODUCTS ${vela_jni32_dir}/libvelaecrjni.so)

set_property(GLOBAL PROPERTY VELA_JNI32_LIBRARY ${vela_jni32_dir}/libvelaecrjni.so)
set_property(GLOBAL PROPERTY VELA_JAVA32 ${vela_sysroot}/java32)
