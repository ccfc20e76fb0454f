# vk_add_forms(target FORM.dfm ...): converts each text form resource to the
# binary object stream at build time and compiles it into the target as a
# function `const QByteArray& <Class>Resource()` named after the form file.
function(vk_add_forms target)
  foreach(form ${ARGN})
    get_filename_component(abs ${form} ABSOLUTE)
    get_filename_component(base ${form} NAME_WE)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/forms/${target}/${base}_form.cpp)
    add_custom_command(OUTPUT ${out}
      COMMAND formconv --cpp ${base}FormResource ${abs} ${out}
      DEPENDS formconv ${abs}
      COMMENT "Form resource ${base}")
    target_sources(${target} PRIVATE ${out})
  endforeach()
endfunction()
