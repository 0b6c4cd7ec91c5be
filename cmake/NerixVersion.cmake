# nerix_add_version_record(<target> FILE_VERSION <text> [options])
# Embeds a version record in the Windows version-resource layout into the binary of <target> (an
# executable or a shared library), in its ELF section "nerix_version", where version::GetFileVersionInfo
# and CFileVersionInfo read it back by file path.
#   FILE_VERSION <text>            the "FileVersion" string, kept exactly as given ("4, 5, 2, 2")
#   FILE_VERSION_NUMBERS <a.b.c.d> the fixed part's file version; default: the numbers in FILE_VERSION
#   PRODUCT_VERSION <text>         the "ProductVersion" string; default FILE_VERSION
#   PRODUCT_VERSION_NUMBERS <..>   default: the numbers in PRODUCT_VERSION
#   FILE_TYPE <n>                  1 application, 2 DLL; default from the target's type
#   FILE_SUBTYPE <n>, FLAGS <n>, FILE_OS <n>   fixed-part words (default 0, 0, 0x40004)
#   LANGUAGE <id>, CODEPAGE <id>   the translation and string table (default 0x0409, 0x04B0)
#   COMPANY_NAME, FILE_DESCRIPTION, INTERNAL_NAME, ORIGINAL_FILENAME, PRODUCT_NAME, LEGAL_COPYRIGHT,
#   LEGAL_TRADEMARKS, COMMENTS, PRIVATE_BUILD, SPECIAL_BUILD <text>   the strings of the same names
#   STRINGS <Key=value>...         further strings
# Texts may not hold line breaks or semicolons.
function(nerix_add_version_record target)
    set(_strings COMPANY_NAME CompanyName FILE_DESCRIPTION FileDescription INTERNAL_NAME InternalName
        ORIGINAL_FILENAME OriginalFilename PRODUCT_NAME ProductName LEGAL_COPYRIGHT LegalCopyright
        LEGAL_TRADEMARKS LegalTrademarks COMMENTS Comments PRIVATE_BUILD PrivateBuild SPECIAL_BUILD SpecialBuild)
    set(_string_options)
    foreach(_i RANGE 0 19 2)
        list(GET _strings ${_i} _opt)
        list(APPEND _string_options ${_opt})
    endforeach()
    cmake_parse_arguments(ARG "" "FILE_VERSION;FILE_VERSION_NUMBERS;PRODUCT_VERSION;PRODUCT_VERSION_NUMBERS;FILE_TYPE;FILE_SUBTYPE;FLAGS;FILE_OS;LANGUAGE;CODEPAGE;${_string_options}"
        "STRINGS" ${ARGN})
    if(NOT DEFINED ARG_FILE_VERSION)
        message(FATAL_ERROR "nerix_add_version_record(${target}): FILE_VERSION is required")
    endif()
    if(NOT DEFINED ARG_PRODUCT_VERSION)
        set(ARG_PRODUCT_VERSION "${ARG_FILE_VERSION}")
    endif()
    if(NOT DEFINED ARG_FILE_VERSION_NUMBERS)
        set(ARG_FILE_VERSION_NUMBERS "${ARG_FILE_VERSION}")
    endif()
    if(NOT DEFINED ARG_PRODUCT_VERSION_NUMBERS)
        set(ARG_PRODUCT_VERSION_NUMBERS "${ARG_PRODUCT_VERSION}")
    endif()
    if(NOT DEFINED ARG_FILE_TYPE)
        get_target_property(_type ${target} TYPE)
        if(_type STREQUAL "SHARED_LIBRARY" OR _type STREQUAL "MODULE_LIBRARY")
            set(ARG_FILE_TYPE 2)
        else()
            set(ARG_FILE_TYPE 1)
        endif()
    endif()
    foreach(_pair FILE_SUBTYPE=0 FLAGS=0 FILE_OS=0x40004 LANGUAGE=0x0409 CODEPAGE=0x04B0)
        string(REPLACE "=" ";" _pair "${_pair}")
        list(GET _pair 0 _name)
        list(GET _pair 1 _default)
        if(NOT DEFINED ARG_${_name})
            set(ARG_${_name} ${_default})
        endif()
    endforeach()

    string(MAKE_C_IDENTIFIER "nerix_version_record_${target}" _symbol)
    set(_desc "SYMBOL=${_symbol}\nFILEVERSION=${ARG_FILE_VERSION_NUMBERS}\nPRODUCTVERSION=${ARG_PRODUCT_VERSION_NUMBERS}\n")
    string(APPEND _desc "FLAGS=${ARG_FLAGS}\nFILEOS=${ARG_FILE_OS}\nFILETYPE=${ARG_FILE_TYPE}\nFILESUBTYPE=${ARG_FILE_SUBTYPE}\n")
    string(APPEND _desc "TRANSLATION=${ARG_LANGUAGE} ${ARG_CODEPAGE}\nTABLE=${ARG_LANGUAGE} ${ARG_CODEPAGE}\n")
    foreach(_i RANGE 0 19 2)
        list(GET _strings ${_i} _opt)
        math(EXPR _k "${_i} + 1")
        list(GET _strings ${_k} _key)
        if(DEFINED ARG_${_opt})
            string(APPEND _desc "STRING=${_key}=${ARG_${_opt}}\n")
        endif()
    endforeach()
    string(APPEND _desc "STRING=FileVersion=${ARG_FILE_VERSION}\nSTRING=ProductVersion=${ARG_PRODUCT_VERSION}\n")
    foreach(_s IN LISTS ARG_STRINGS)
        string(APPEND _desc "STRING=${_s}\n")
    endforeach()

    set(_desc_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.txt)
    set(_old "")
    if(EXISTS ${_desc_file})
        file(READ ${_desc_file} _old)
    endif()
    if(NOT _old STREQUAL _desc)
        file(WRITE ${_desc_file} "${_desc}")
    endif()
    set(_out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.cpp)
    add_custom_command(OUTPUT ${_out}
        COMMAND nerix_verrec ${_desc_file} ${_out}
        DEPENDS nerix_verrec ${_desc_file}
        COMMENT "Version record of ${target}"
        VERBATIM)
    target_sources(${target} PRIVATE ${_out})
endfunction()
