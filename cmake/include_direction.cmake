# Tests that the layers include one another in one direction only: each probe is a one-line source
# that includes headers while linking one library, built on its own when the test runs. A probe of a
# wrong-way include passes only when the build fails because the header is not found; the controls
# include each of those headers where it belongs and must build, so that a misspelt header or a
# broken probe cannot pass for the wrong reason.

set(aplpatch_probe_folder ${PROJECT_BINARY_DIR}/include_probes)

# A test that builds a source including `headers` against `library`. With `expect` SEES the build
# must succeed; with MISSES it must fail with the first header not found.
function(aplpatch_include_probe name library expect)
  set(source ${aplpatch_probe_folder}/${name}.cpp)
  set(content "")
  foreach(header IN LISTS ARGN)
    string(APPEND content "#include \"${header}\"\n")
  endforeach()
  file(CONFIGURE OUTPUT ${source} CONTENT "${content}")
  set(probe include_probe_${name})
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL ${source})
  target_link_libraries(${probe} PRIVATE ${library})
  add_test(NAME IncludeDirection.${name} COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target ${probe})
  # One build at a time in the build folder.
  set_tests_properties(IncludeDirection.${name} PROPERTIES RESOURCE_LOCK aplpatch_build_folder LABELS layers)
  if(expect STREQUAL "MISSES")
    list(GET ARGN 0 header)
    string(REPLACE "." "\\." pattern ${header})
    # GCC: "engine/engine.h: No such file or directory"; clang: "'engine/engine.h' file not found".
    set_tests_properties(IncludeDirection.${name} PROPERTIES
      PASS_REGULAR_EXPRESSION "${pattern}: No such file or directory|'${pattern}' file not found")
  endif()
endfunction()

# The controls: every header that a probe below must miss is found where the layers allow it.
aplpatch_include_probe(PlatformSeesItselfAndBase aplpatch_platform SEES platform/platform.h base/status.h)
aplpatch_include_probe(EngineSeesItselfAndBase aplpatch_engine SEES engine/engine.h base/console.h)
aplpatch_include_probe(DriverSeesEveryLayerBelow aplpatch_driver SEES
  driver/run_patch.h rules/rewrite_script.h engine/engine.h platform/platform.h base/status.h)
aplpatch_include_probe(CommandsSeeTheRun aplpatch_commands SEES commands/commands.h driver/run_patch.h)

# The platform knows nothing of the run, the engine or the rules.
aplpatch_include_probe(PlatformMissesEngine aplpatch_platform MISSES engine/engine.h)
aplpatch_include_probe(PlatformMissesRules aplpatch_platform MISSES rules/rewrite_script.h)
aplpatch_include_probe(PlatformMissesDriver aplpatch_platform MISSES driver/run_patch.h)
# The engine knows no rule and no platform; the rules know no platform and no run.
aplpatch_include_probe(EngineMissesRules aplpatch_engine MISSES rules/rewrite_script.h)
aplpatch_include_probe(EngineMissesPlatform aplpatch_engine MISSES platform/platform.h)
aplpatch_include_probe(RulesMissPlatform aplpatch_rules MISSES platform/platform.h)
aplpatch_include_probe(RulesMissDriver aplpatch_rules MISSES driver/run_patch.h)
# The run knows nothing of the commands around it.
aplpatch_include_probe(DriverMissesCommands aplpatch_driver MISSES commands/commands.h)

# The tests keep to their layers as the code does: each test program links an interface library of
# what it may see (engine_tests_links for engine_tests), and the probes below link the same one.
# The controls: each test program sees its own layer, those below it and the test code it uses.
aplpatch_include_probe(EngineTestsSeeTheEngineAndTheStreams engine_tests_links SEES
  engine/engine.h base/console.h testing/memory_streams.h)
aplpatch_include_probe(RulesTestsSeeTheRulesAndTheRewriteHelpers rules_tests_links SEES
  rules/rule_table.h engine/engine.h testing/test_support.h testing/script_variations.h)
aplpatch_include_probe(StructureTestsSeeTheCheckerAndTheirHelpers structure_tests_links SEES
  structure/structure_check.h testing/variant_soundness.h testing/memory_streams.h)
aplpatch_include_probe(DriverTestsSeeTheRunAndTheFakePlatform driver_tests_links SEES
  driver/run_patch.h rules/rewrite_script.h testing/fake_platform.h testing/test_support.h)
aplpatch_include_probe(WholeProgramTestsSeeEveryLayer whole_program_tests_links SEES
  commands/commands.h driver/run_patch.h structure/structure_check.h testing/variant_soundness.h)

# The engine's tests know no rule, no checker and no platform.
aplpatch_include_probe(EngineTestsMissRules engine_tests_links MISSES rules/rule_table.h)
aplpatch_include_probe(EngineTestsMissStructure engine_tests_links MISSES structure/structure_check.h)
aplpatch_include_probe(EngineTestsMissPlatform engine_tests_links MISSES platform/platform.h)
# The rules' tests know no checker and no platform; the checker's tests know no rewrite.
aplpatch_include_probe(RulesTestsMissStructure rules_tests_links MISSES structure/structure_check.h)
aplpatch_include_probe(RulesTestsMissPlatform rules_tests_links MISSES platform/platform.h)
aplpatch_include_probe(StructureTestsMissRules structure_tests_links MISSES rules/rewrite_script.h)
aplpatch_include_probe(StructureTestsMissEngine structure_tests_links MISSES engine/engine.h)
# The platform's tests know nothing above it; the run's tests know nothing of the commands.
aplpatch_include_probe(PlatformTestsMissEngine platform_tests_links MISSES engine/engine.h)
aplpatch_include_probe(DriverTestsMissCommands driver_tests_links MISSES commands/commands.h)
aplpatch_include_probe(CommandsTestsSeeTheCommandsAndTheFakePlatform commands_tests_links SEES
  commands/commands.h testing/fake_platform.h)
