// The page around the simulator: it hands the mouse, the keys and the speed field
// to the WebAssembly module (web/exports.cpp) with the time of its clock, and carries
// out the update every event returns: the changed rectangles of the picture onto the
// canvas, the speed field, the wake, the focus, the error box, the sentence for a
// screen reader and the explainer to open. All the behaviour, the timers' and the
// keyboard's included, lives in the module.
"use strict";

(function () {
  const kLongestWait = 1 << 30; // ms; setTimeout takes no more than 2^31 - 1

  const canvas = document.getElementById("diagram");
  const context = procesorDiagramContext();
  const edit17 = document.getElementById("Edit17");
  const memo1 = document.getElementById("Memo1");
  const errorBox = document.getElementById("error-box");
  const errorText = document.getElementById("error-text");

  // "#manual-timers": the page's clock stands still unless procesorPage.advance()
  // moves it, and procesorPage.tick() gives ticks by hand, so that tests reach each
  // picture step by step.
  // (The "#" may also carry a program, "&"-separated: web/program.js.)
  const manualTimers = location.hash.slice(1).split("&").includes("manual-timers");
  // ("#embed", the diagram alone: web/start.js.)
  // Served by a web server, the page can be installed and keeps working offline
  // (manifest.webmanifest and service-worker.js beside it); opened from disk it
  // asks for neither.
  if (location.protocol === "https:" || location.protocol === "http:") {
    const manifest = document.createElement("link");
    manifest.rel = "manifest";
    manifest.href = "manifest.webmanifest";
    document.head.append(manifest);
    if ("serviceWorker" in navigator) navigator.serviceWorker.register("service-worker.js").catch(() => {});
  }
  let manualNow = 0;
  const now = () => (manualTimers ? manualNow : performance.now());
  let m = null; // the module's exports, set when it is ready; until then no event counts
  let view = null; // the picture's size, the keyboard and the live region (view.js)
  let timeLine = null; // the strip's commands, the timing diagram, the work kept (timeline.js)
  let pointerDown = false;
  let wakeHandle = 0;

  // The changed rectangles of the picture onto the canvas; returns how many.
  function paint(u) {
    const count = u[0];
    if (count === 0) return 0;
    const rects = new Int32Array(m.HEAP32.buffer, u.byteOffset + kUpdateFields * 4, count * 4);
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, m._procesor_pixels(),
                                         canvas.width * canvas.height * 4);
    const image = new ImageData(pixels, canvas.width, canvas.height);
    for (let i = 0; i < count; ++i) {
      const x = rects[4 * i], y = rects[4 * i + 1], w = rects[4 * i + 2], h = rects[4 * i + 3];
      context.putImageData(image, 0, 0, x, y, w, h);
    }
    return count;
  }

  // One timeout, for when the module next needs waking.
  function scheduleWake() {
    clearTimeout(wakeHandle);
    wakeHandle = 0;
    const due = m._procesor_next_wake();
    if (manualTimers || due < 0) return;
    const wait = Math.min(Math.max(0, Math.ceil(due - performance.now())), kLongestWait);
    wakeHandle = setTimeout(wake, wait);
  }

  // On time, late (a busy machine, a hidden tab whose timers the browser holds
  // back) or early: the module runs every tick due by now, each at its due time,
  // and the page shows only where the machine got to.
  function wake() {
    apply(m._procesor_wake(now()));
  }
  document.addEventListener("visibilitychange", () => {
    if (m && !document.hidden) wake();
  });

  // The record of an update (web/exports.cpp): the number of rectangles, the speed
  // field's visibility, the focus, the element clicked, whether it names an
  // explainer, whether the module took the key, whether it wants waking.
  let kUpdateFields = 0;
  function record(pointer) {
    return new Int32Array(m.HEAP32.buffer, pointer, kUpdateFields);
  }

  let told = true; // the module knows that the error box shown last is closed
  // Carries out an event's update: the picture, the fields, the wake, the focus, then
  // any error box and explainer. Returns the record.
  function apply(pointer) {
    const count = paint(record(pointer));
    // Copied: carrying the update out may grow the module's memory, which leaves a
    // view of it empty.
    const u = [...record(pointer)];
    if (u[10] !== 0) view.panes(u[11]);
    const text = view.textOut(m._procesor_update_text(0));
    if (edit17.value !== text) edit17.value = text;
    edit17.hidden = u[1] === 0;
    const sentence = view.textOut(m._procesor_update_text(2));
    view.afterUpdate(u, count, sentence);
    scheduleWake();
    const message = view.textOut(m._procesor_update_text(1));
    if (message !== "") {
      errorText.textContent = message;
      told = false;
      errorBox.showModal();
      errorBox.querySelector(".buttons button").focus();
    }
    window.procesorExplainers.repaint();
    if (u[6] !== 0) window.procesorExplainers.openFor(u[4], u[5]);
    if (u[9] >= 0) timeLine?.carryOut(u[9]);
    timeLine?.afterUpdate(u, sentence);
    procesorProgram.addressInStep();
    return u;
  }

  function clientPoint(event) {
    return view.pictureAt(event.clientX, event.clientY);
  }

  // The mouse, a pen or a finger: the canvas keeps the pointer from the button
  // going down until it goes up, wherever that is.
  // The panes right of the diagram take the pointer as the diagram does.
  const panes = document.getElementById("panes");
  for (const surface of [canvas, panes]) surface.addEventListener("pointerdown", (event) => {
    if (!event.isPrimary || event.button !== 0 || !view || pointerDown) return;
    event.preventDefault(); // keep the focus where it is, as a click on the diagram does,
    // except in a text field: Ctrl+C and Ctrl+V then reach the diagram.
    if (document.activeElement === edit17 || document.activeElement === memo1)
      document.activeElement.blur();
    surface.setPointerCapture(event.pointerId);
    pointerDown = true;
    mouseDown(...clientPoint(event));
  });

  function mouseDown(x, y) {
    apply(m._procesor_mouse_down(x, y, now()));
  }
  // A click that names a companion program opens its explainer in the page.
  function mouseUp(x, y) {
    apply(m._procesor_mouse_up(x, y, now()));
  }
  function pointerUp(x, y) {
    if (!pointerDown) return;
    pointerDown = false;
    mouseUp(x, y);
  }
  for (const surface of [canvas, panes]) surface.addEventListener("pointerup", (event) => {
    if (event.isPrimary && event.button === 0) pointerUp(...clientPoint(event));
  });
  // A finger held on the diagram opens no menu: it holds the control under it.
  let lastPointer = "mouse";
  canvas.addEventListener("pointerdown", (event) => { lastPointer = event.pointerType; }, true);
  canvas.addEventListener("contextmenu", (event) => {
    if (lastPointer === "touch") event.preventDefault();
  });
  // A pointer taken away (the page left, a touch that turns into scrolling) goes
  // up nowhere: whatever it held is let go without a click.
  canvas.addEventListener("pointercancel", () => pointerUp(-1, -1));
  window.addEventListener("blur", () => pointerUp(-1, -1));

  edit17.addEventListener("input", () => {
    if (!view) return;
    apply(m._procesor_speed_edited(view.textIn(edit17.value), now()));
  });

  // Closed (its buttons, Enter, Escape), the box makes room at once for the next
  // error waiting in the module, if any: the dialog's own close event comes a task
  // later, after a click that may already have reported the next error. A close
  // event that finds the box open again is that late one, and is passed over.
  function boxClosed() {
    if (told) return;
    told = true;
    if (m) apply(m._procesor_error_closed(now()));
  }
  function closeBox() {
    if (errorBox.open) errorBox.close();
    boxClosed();
  }
  errorBox.addEventListener("close", () => {
    if (!errorBox.open) boxClosed();
  });
  errorBox.querySelector(".close").addEventListener("click", closeBox);
  errorBox.addEventListener("cancel", (event) => {
    event.preventDefault();
    closeBox();
  });
  errorBox.addEventListener("submit", (event) => {
    event.preventDefault();
    closeBox();
  });
  errorBox.addEventListener("keydown", (event) => {
    if (event.key === "Enter") {
      event.preventDefault();
      closeBox();
    }
  });

  // Without WebAssembly (switched off, or a browser too old) the page says so.
  function cannotRun() {
    document.getElementById("cannot-run").hidden = false;
    document.getElementById("stage").hidden = true;
    document.documentElement.dataset.ready = "0";
  }
  function start(module) {
    m = module;
    kUpdateFields = m._procesor_update_fields();
    const first = m._procesor_init();
    window.procesorExplainers.attach(m);
    // The diagram's size and the fields' places are the module's.
    procesorPlace([...new Int32Array(m.HEAP32.buffer, m._procesor_places(), 14)]);
    view = procesorView(m, apply, now);
    view.fit();
    apply(first);
    timeLine = procesorTimeLine(m, apply, now, view);
    timeLine.afterUpdate(record(m._procesor_update_record()), "");
    procesorProgram.start(m, apply, now, timeLine.restore);
    // The fields take typing once the module that keeps their text is there (before,
    // the start picture only shows them), so that nothing typed early is lost.
    edit17.readOnly = memo1.readOnly = false;
    edit17.focus();
    // The caret after the text, nothing selected: WebKit selects a field's whole text
    // when a script gives it the focus, the other engines and the desktop do not.
    edit17.setSelectionRange(edit17.value.length, edit17.value.length);
    // The first frame, unless the start picture was (the same picture); the module's
    // own first frame either way.
    if (!startPictureShown) performance.mark("procesor-first-frame");
    performance.mark("procesor-module-frame");
    document.documentElement.dataset.ready = "1";
  }
  // The licences open over the window and close with "Zpět" or Escape; the address
  // keeps its program, so the links do not follow their "#".
  const licence = document.getElementById("licence");
  function showLicence(shown, event) {
    event.preventDefault();
    licence.hidden = !shown;
    (shown ? document.getElementById("licence-back") : document.querySelector("#about a")).focus();
  }
  document.querySelector("#about a").addEventListener("click", (e) => showLicence(true, e));
  document.getElementById("licence-back").addEventListener("click", (e) => showLicence(false, e));
  licence.addEventListener("keydown", (e) => { if (e.key === "Escape") showLicence(false, e); });

  // The module's WebAssembly travels gzipped in the page (procesorWasmGzip, written
  // in by scripts/web_page.py): unpacked here by the browser, then started.
  function instantiateWasm(imports, receive) {
    const packed = procesorBytes(procesorWasmGzip); // web/start.js
    new Response(new Blob([packed]).stream().pipeThrough(new DecompressionStream("gzip")))
      .arrayBuffer()
      .then((bytes) => WebAssembly.instantiate(bytes, imports))
      .then((result) => receive(result.instance, result.module), cannotRun);
    return {};
  }
  function startModule() {
    document.documentElement.classList.remove("starting");
    performance.mark("procesor-module-start");
    if (typeof WebAssembly !== "object" || typeof DecompressionStream !== "function") cannotRun();
    else {
      try {
        // The module's script, written into the page as text (scripts/web_page.py), runs
        // now.
        const source = document.getElementById("procesor-module");
        if (source && typeof createProcesor === "undefined") {
          const script = document.createElement("script");
          script.text = source.textContent;
          document.head.append(script);
        }
        createProcesor({ printErr() {}, instantiateWasm }).then(start, cannotRun);
      } catch {
        cannotRun();
      }
    }
  }
  // With the start picture on the canvas the module starts once the browser has put it
  // on the screen, after the next frame (the module's start holds the page for a good
  // while); at once in a hidden tab, which paints no frames.
  let startPictureShown = false;
  procesorStartFrame.then((shown) => {
    startPictureShown = shown;
    if (!shown || document.hidden) {
      startModule();
      return;
    }
    let started = false;
    const once = () => {
      if (!started) startModule();
      started = true;
    };
    requestAnimationFrame(() => setTimeout(once));
    setTimeout(once, 250); // a tab hidden meanwhile
  });

  // For the tests and the figures: the pulses taken so far, a click at a client
  // pixel as the pointer gives it, the module's time (of its last event or tick)
  // and when it next wants waking (-1: never); with "#manual-timers", a tick of
  // TimerN given by hand now (a timer that is off does not tick), and the clock
  // moved on to `ms` with the module woken.
  window.procesorPage = Object.freeze({
    pulses: () => m._procesor_pulses(),
    click(x, y) {
      mouseDown(x, y);
      mouseUp(x, y);
    },
    now: () => m._procesor_now(),
    nextWake: () => m._procesor_next_wake(),
    running: (n) => m._procesor_timer_running(n) !== 0,
    // The time line: its first position, where the machine is and its newest.
    timeLine: () => timeLine.timeLine(),
    tick(n) {
      apply(m._procesor_tick(n, now()));
    },
    // A command of the strip by its number (screen/Commands.h), as its button gives it.
    command(n) {
      apply(m._procesor_command(n, now()));
    },
    advance(ms) {
      manualNow = Math.max(manualNow, ms);
      wake();
    },
  });
})();
