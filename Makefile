# Entry points for a fresh Debian 12 machine (see README.md).
#   make run        install what is missing, build, start the program
#   make test       install what is missing, build, run every test
#   make test-asan  the same with AddressSanitizer + UndefinedBehaviorSanitizer
#   make test-tsan  the engine tests (solver threads, pool) with ThreadSanitizer
#   make bench      build and run the benchmarks
#   make fuzz       build the fuzz targets with clang and fuzz the file reader a while
#   make package    build the Debian package build-pakiet/skorba-n_VERSION_ARCH.deb
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test test-asan test-tsan bench fuzz package build deps clean

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build build -j $(JOBS)

run: build
	./build/skorba_n

test: build
	cd build && ctest --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKORBA_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# The tests without the Qt program, built with ThreadSanitizer: the solver's
# threads and pool run in many of them.  Optimised but without NDEBUG, so
# the asserts are on and the wall-clock limits of the tests are off.  Run
# without address-space randomisation where the system allows it: this
# compiler's ThreadSanitizer cannot map its shadow memory under the wider
# randomisation of newer kernels.
test-tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKORBA_GUI=OFF \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" -DCMAKE_CXX_FLAGS="-fsanitize=thread" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" $(CMAKE_FLAGS) >/dev/null
	cmake --build build-tsan -j $(JOBS)
	cd build-tsan && $$(setarch $$(uname -m) -R true 2>/dev/null && echo setarch $$(uname -m) -R) \
	  env TSAN_OPTIONS="halt_on_error=1 allocator_may_return_null=1" ctest --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps.sh --extras
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSKORBA_BENCH=ON -DSKORBA_TESTS=OFF >/dev/null
	cmake --build build-bench -j $(JOBS)
	@for b in build-bench/bench/bench_*; do [ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; $$b; done

fuzz:
	@scripts/install-deps.sh --extras
	CXX=clang++ cmake -S . -B build-fuzz -DSKORBA_FUZZ=ON -DSKORBA_GUI=OFF -DSKORBA_TESTS=OFF >/dev/null
	cmake --build build-fuzz -j $(JOBS)
	build-fuzz/fuzz/fuzz_plik -max_total_time=60 fuzz/corpus

# The package is built for /usr, with the compiler and linker flags Debian
# builds its own packages with (hardening included), without the tests.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+all
package:
	@scripts/install-deps.sh --package
	cmake -S . -B build-pakiet -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DSKORBA_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	cmake --build build-pakiet -j $(JOBS)
	cd build-pakiet && rm -f skorba-n_*.deb && cpack -G DEB

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz build-pakiet
