# The fuzz target itself, shared by the project's own build (when it compiles with clang) and by the
# small clang-only build in clang/ (when the project compiles with another compiler). The store's
# sources are compiled into the target so that libFuzzer sees their coverage.
set(QXO_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
function(qxo_add_fuzz_target source_dir)
    add_executable(fuzz_settings
        ${QXO_FUZZ_DIR}/fuzz_settings.cpp
        ${source_dir}/settings/Settings.cpp
        ${source_dir}/settings/SettingsStore.cpp
        ${source_dir}/settings/SettingsStore_open.cpp
        ${source_dir}/settings/SettingsStore_recovery.cpp
        ${source_dir}/settings/SettingsStore_schema.cpp
        ${source_dir}/settings/PendingWrites.cpp
        ${source_dir}/settings/StorePath.cpp
        ${source_dir}/settings/StoreFiles.cpp
        ${source_dir}/settings/StoreSql.cpp)
    target_include_directories(fuzz_settings PRIVATE ${source_dir})
    target_compile_definitions(fuzz_settings PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    target_compile_options(fuzz_settings PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(fuzz_settings PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(fuzz_settings PRIVATE Qt6::Core PkgConfig::SQLITE3)
    set_target_properties(fuzz_settings PROPERTIES AUTOMOC OFF)
endfunction()
