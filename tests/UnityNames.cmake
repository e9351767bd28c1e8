# The sources of a target are compiled in batches as one unity source, so a
# file sees what the files before it in its batch keep to themselves: their
# anonymous namespaces, statics and macros. A helper of one file could then
# collide with another's or, worse, be called in its place as a closer
# overload. Two rules keep that from happening:
#   under each folder of SOURCE_DIRS, a name a file keeps to itself is no word
#   of another file of its folder (a folder holds its targets' batches), and
#   no file opens a namespace to the files after it with a using-directive;
#   a test file (TEST_DIR, but for support/ and the probes) keeps all its code in
#   a namespace named after the file and ending in _test, so that its helpers
#   and its tests' calls stay between themselves.
# Called with -DSOURCE_DIRS="dir;dir" -DTEST_DIR=dir (either may be empty).

cmake_policy(VERSION 3.25)

# A file's lines as a list: ";" and the square brackets would split or bind
# list elements, so they stand as "@" and "(" ")"; none is part of a name.
function(read_lines path out_lines out_text)
    file(READ ${path} text)
    string(REPLACE ";" "@" text "${text}")
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE "\\" "/" text "${text}")
    set(${out_text} "${text}" PARENT_SCOPE)
    string(REPLACE "\n" ";" lines "${text}")
    set(${out_lines} "${lines}" PARENT_SCOPE)
endfunction()

# The names a file keeps to itself: what is declared at the head of a line in
# an anonymous namespace (types, aliases, functions, constants), the statics
# outside one, and the macros it defines.
function(own_names path out)
    read_lines(${path} lines text)
    set(names "")
    set(anonymous OFF)
    foreach(line IN LISTS lines)
        if(line STREQUAL "namespace {")
            set(anonymous ON)
            continue()
        elseif(anonymous AND line MATCHES "^} // namespace$")
            set(anonymous OFF)
            continue()
        endif()
        if(line MATCHES "^#[ \t]*define[ \t]+([A-Za-z_][A-Za-z0-9_]*)")
            list(APPEND names ${CMAKE_MATCH_1})
            continue()
        endif()
        if(line MATCHES "^static (.*)")
            set(line "${CMAKE_MATCH_1}")
        elseif(NOT anonymous)
            continue()
        endif()
        # Template arguments may hold parentheses ("std::function<void()>& F()").
        set(bare "")
        while(NOT bare STREQUAL line)
            set(bare "${line}")
            string(REGEX REPLACE "<[^<>]*>" "" line "${line}")
        endwhile()
        if(line MATCHES "^(enum class|enum|struct|class|union) +([A-Za-z_][A-Za-z0-9_]*)")
            list(APPEND names ${CMAKE_MATCH_2})
        elseif(line MATCHES "^(using namespace|using enum|template)" OR line MATCHES "operator")
            continue()
        elseif(line MATCHES "^using +([A-Za-z_][A-Za-z0-9_]*) *=")
            list(APPEND names ${CMAKE_MATCH_1})
        elseif(line MATCHES "^using +[A-Za-z0-9_:]*::([A-Za-z_][A-Za-z0-9_]*) *@")
            list(APPEND names ${CMAKE_MATCH_1})
        elseif(line MATCHES "^[A-Za-z_][^(={@]*[^A-Za-z0-9_(={@]([A-Za-z_][A-Za-z0-9_]*) *[(={@]")
            list(APPEND names ${CMAKE_MATCH_1})
        endif()
    endforeach()
    list(REMOVE_DUPLICATES names)
    set(${out} "${names}" PARENT_SCOPE)
endfunction()

set(faults "")
set(checked 0)
foreach(dir IN LISTS SOURCE_DIRS)
    file(GLOB_RECURSE sources LIST_DIRECTORIES false ${dir}/*.cpp)
    # Each file's code without its comments (a comment calls nothing), read
    # once for all the files it is a neighbour of.
    foreach(file IN LISTS sources)
        read_lines(${file} unused text)
        string(REGEX REPLACE "//[^\n]*" "" code_${file} "${text}")
    endforeach()
    foreach(file IN LISTS sources)
        get_filename_component(folder ${file} DIRECTORY)
        # A using-directive at the head of a line stands at file or namespace
        # level, and so reaches every file after it in the unity source; in a
        # function it stays there. Literal suffixes are the one harmless kind.
        file(STRINGS ${file} directives REGEX "^using namespace ")
        foreach(directive IN LISTS directives)
            if(NOT directive MATCHES "_literals")
                file(RELATIVE_PATH here ${dir} ${file})
                string(REGEX REPLACE "[;\n]+$" "" directive "${directive}")
                list(APPEND faults "${here}: \"${directive}\" reaches the files after it")
            endif()
        endforeach()
        own_names(${file} names)
        if(NOT names)
            continue()
        endif()
        file(GLOB neighbours ${folder}/*.cpp)
        list(REMOVE_ITEM neighbours ${file})
        foreach(other IN LISTS neighbours)
            set(shared "")
            foreach(name IN LISTS names)
                if(code_${other} MATCHES "(^|[^A-Za-z0-9_])${name}([^A-Za-z0-9_]|$)")
                    list(APPEND shared ${name})
                endif()
            endforeach()
            if(shared)
                file(RELATIVE_PATH here ${dir} ${file})
                get_filename_component(there ${other} NAME)
                list(JOIN shared ", " shared)
                list(APPEND faults "${here}: its own ${shared} also stand in ${there}")
            endif()
        endforeach()
        math(EXPR checked "${checked} + 1")
    endforeach()
endforeach()

if(TEST_DIR)
    file(GLOB_RECURSE tests LIST_DIRECTORIES false ${TEST_DIR}/*.cpp)
    foreach(file IN LISTS tests)
        file(RELATIVE_PATH here ${TEST_DIR} ${file})
        if(here MATCHES "^(support|layout|unity_probe)/")
            continue()
        endif()
        read_lines(${file} lines text)
        if(NOT text MATCHES "\n#include[^\n]*\n\nnamespace ([a-z0-9_]+_test) {\n")
            list(APPEND faults "${here}: its code does not open, after the includes, a namespace NAME_test")
            continue()
        endif()
        set(namespace ${CMAKE_MATCH_1})
        if(NOT text MATCHES "\n} // namespace ${namespace}\n*$")
            list(APPEND faults "${here}: the namespace ${namespace} does not hold the file to its end")
        endif()
        math(EXPR checked "${checked} + 1")
    endforeach()
endif()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "names a unity source would mix up:\n  ${text}")
endif()
message(STATUS "${checked} files keep their own names to themselves")
