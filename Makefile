# make demo   install what is needed, build, run the gallery with its sample tree
# make test   install what is needed, build with sanitizers, run every test under Xvfb:
#             all of them with AddressSanitizer and UBSan (test-asan), then the
#             concurrency tests (dashboard) with ThreadSanitizer (test-tsan)
#             and, on one shared Release build, the examples, the installed package,
#             the Debian package, the reference and the Python module's pytest suite
#             (test-release; the module is built without sanitizers, as the
#             interpreter that loads it is)
# make docs   the gallery's pictures of every piece (under Xvfb with openbox) into
#             docs/pictures/ and the API reference into build/docs/reference/html
# make deb    the Debian package, into build/release
# make bench  install what is needed, build optimised, run the benchmarks
# make fuzz   with clang: build the fuzz targets and run each for FUZZ_SECONDS
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

FUZZ_SECONDS ?= 60

.PHONY: deps demo test test-asan test-tsan test-release docs deb bench fuzz clean

deps:
	@bash scripts/install-deps.sh

build/demo/CMakeCache.txt: | deps
	cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVK_BUILD_TESTS=OFF -DOVK_BUILD_PYTHON=ON $(CMAKE_FLAGS)

demo: deps build/demo/CMakeCache.txt
	cmake --build build/demo --target ovk-gallery ovk-paratree-editor ovk_python_core -j $(JOBS)
	./build/demo/demo/ovk-gallery

test: test-asan test-tsan test-release

# -noreset: by default the X server resets whenever its last client leaves,
# and a test process connecting during that reset fails to start the toolkit.
test-asan: deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DOVK_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build/test -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  ctest --test-dir build/test --output-on-failure -j $(JOBS) --timeout 300

test-tsan: deps
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DOVK_TSAN=ON -DOVK_BUILD_DEMO=OFF '-DOVK_TEST_FILTER=^dashboard/' $(CMAKE_FLAGS)
	cmake --build build/tsan -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  ctest --test-dir build/tsan --output-on-failure -j $(JOBS) --timeout 600

# One Release build with the library shared serves the examples, the
# consumer of the installed package, the .deb and the reference check.
test-release: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DOVK_BUILD_TESTS=OFF \
	  -DOVK_BUILD_EXAMPLES=ON -DOVK_PACKAGE_TESTS=ON -DOVK_BUILD_PYTHON=ON $(CMAKE_FLAGS)
	cmake --build build/release -j $(JOBS)
	xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  ctest --test-dir build/release --output-on-failure --timeout 900

deb: test-release

# The pictures need a window manager for the title bars: openbox on a private Xvfb.
docs: deps
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DOVK_BUILD_TESTS=OFF \
	  -DOVK_BUILD_EXAMPLES=ON -DOVK_PACKAGE_TESTS=ON -DOVK_BUILD_PYTHON=ON $(CMAKE_FLAGS)
	cmake --build build/release --target ovk-gallery -j $(JOBS)
	python3 docs/sync_examples.py
	bash scripts/take-pictures.sh build/release/demo/ovk-gallery docs/pictures
	cmake -DSOURCE_DIR=$(CURDIR) -DOUT_DIR=$(CURDIR)/build/docs/reference -DDOXYGEN=doxygen \
	  -P docs/reference/run_doxygen.cmake

bench: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DOVK_BUILD_TESTS=OFF -DOVK_BUILD_DEMO=OFF -DOVK_BUILD_BENCH=ON \
	  -DOVK_BUILD_PYTHON=ON $(CMAKE_FLAGS)
	cmake --build build/bench -j $(JOBS)
	for b in build/bench/bench/*_bench; do echo "== $$b"; xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" $$b || exit 1; done
	echo "== bench/python_bench.py"; PYTHONPATH=build/bench/python/package GDK_BACKEND=x11 \
	  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
	  $$(sed -n 's/^Python_EXECUTABLE:[A-Z]*=//p' build/bench/CMakeCache.txt) bench/python_bench.py

fuzz: deps
	@command -v clang++ >/dev/null || { echo "fuzz: clang++ not found; the fuzz targets need libFuzzer"; exit 1; }
	CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOVK_BUILD_TESTS=OFF -DOVK_BUILD_DEMO=OFF -DOVK_BUILD_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build build/fuzz --target paratree_book_fuzz -j $(JOBS)
	mkdir -p build/fuzz/corpus/book
	./build/fuzz/fuzz/paratree_book_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=4096 build/fuzz/corpus/book fuzz/corpus/book

clean:
	rm -rf build
