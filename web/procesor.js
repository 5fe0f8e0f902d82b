// The page around the simulator: it hands the mouse, the timer ticks and the speed
// field to the WebAssembly module (web/exports.cpp), mirrors the five timers with
// the browser's own, copies the changed rectangles of the picture onto the canvas
// and shows the error box. All the behaviour lives in the module.
"use strict";

(function () {
  const kTimers = 5;
  const kReleaseTimer = 5; // Timer5 releases "ručně"
  const kFar = 1 << 30;    // "not due": Timer5 is off

  const canvas = document.getElementById("diagram");
  // Drawn only by putImageData, so it may as well live in main memory.
  const context = canvas.getContext("2d", { alpha: false, willReadFrequently: true });
  const edit17 = document.getElementById("Edit17");
  const memo1 = document.getElementById("Memo1");
  const errorBox = document.getElementById("error-box");
  const errorText = document.getElementById("error-text");

  // "#manual-timers": the browser's timers stay off and procesorPage.tick() gives the
  // ticks, so that tests reach each picture step by step.
  const manualTimers = location.hash === "#manual-timers";
  let m = null; // the module's exports, set when it is ready; until then no event counts
  let pointerDown = false;
  let keyHeld = 0; // the data switch held down with the space bar
  // The browser's side of Timer1..Timer5: whether it runs, its interval handle, the
  // interval and start count it was started with, and when its next tick is due.
  const timers = [];
  for (let n = 0; n <= kTimers; ++n)
    timers.push({ running: false, handle: 0, interval: 0, starts: 0, due: 0 });

  // A field goes inside the sunken frame that the picture draws around it.
  const kFrame = 2;
  function placeInside(element, box, frame = kFrame) {
    const [x, y, w, h] = box;
    element.style.left = x + frame + "px";
    element.style.top = y + frame + "px";
    element.style.width = w - 2 * frame + "px";
    element.style.height = h - 2 * frame + "px";
  }

  // The changed rectangles of the picture onto the canvas.
  function paint() {
    const count = m._procesor_render();
    if (count === 0) return;
    const rects = new Int32Array(m.HEAP32.buffer, m._procesor_dirty(), count * 4);
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, m._procesor_pixels(),
                                         canvas.width * canvas.height * 4);
    const image = new ImageData(pixels, canvas.width, canvas.height);
    for (let i = 0; i < count; ++i) {
      const x = rects[4 * i], y = rects[4 * i + 1], w = rects[4 * i + 2], h = rects[4 * i + 3];
      context.putImageData(image, 0, 0, x, y, w, h);
    }
  }

  // The timers as the handlers left them. A timer that was switched on from off
  // (also off and on again inside one handler) starts over with its full interval;
  // one that was on already keeps its rhythm unless its interval changed.
  function syncTimers() {
    for (let n = 1; n <= kTimers; ++n) {
      const t = timers[n];
      const enabled = m._procesor_timer_enabled(n) !== 0;
      const interval = m._procesor_timer_interval(n);
      const starts = m._procesor_timer_starts(n) >>> 0;
      if (!enabled) {
        if (t.handle) clearInterval(t.handle);
        t.handle = 0;
        t.running = false;
      } else if (!t.running || starts !== t.starts || interval !== t.interval) {
        if (t.handle) clearInterval(t.handle);
        t.handle = manualTimers ? 0 : setInterval(tick, interval, n);
        t.running = true;
        t.due = performance.now() + interval;
      }
      t.interval = interval;
      t.starts = starts;
    }
  }

  function syncFields() {
    const text = m.UTF8ToString(m._procesor_speed_text());
    if (edit17.value !== text) edit17.value = text;
    edit17.hidden = m._procesor_speed_visible() === 0;
  }

  function showError() {
    const message = m.UTF8ToString(m._procesor_take_error());
    if (message === "" || errorBox.open) return;
    errorText.textContent = message;
    errorBox.showModal();
    errorBox.querySelector(".buttons button").focus();
  }

  // After every event: the picture, the fields, the timers, then any error box.
  function afterEvent() {
    paint();
    syncFields();
    syncTimers();
    showError();
  }

  function tick(n) {
    const t = timers[n];
    t.due = performance.now() + t.interval;
    const release = timers[kReleaseTimer];
    const releaseDue = release.running ? Math.max(0, Math.round(release.due - performance.now()))
                                      : kFar;
    m._procesor_timer_tick(n, releaseDue);
    afterEvent();
  }

  function clientPoint(event) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - r.left) * canvas.width / r.width),
            Math.floor((event.clientY - r.top) * canvas.height / r.height)];
  }

  // The mouse, a pen or a finger: the canvas keeps the pointer from the button
  // going down until it goes up, wherever that is.
  canvas.addEventListener("pointerdown", (event) => {
    if (!event.isPrimary || event.button !== 0 || !m || pointerDown || keyHeld) return;
    event.preventDefault(); // keep the focus where it is, as a click on the diagram does
    canvas.setPointerCapture(event.pointerId);
    pointerDown = true;
    mouseDown(...clientPoint(event));
  });

  function mouseDown(x, y) {
    m._procesor_mouse_down(x, y);
    afterEvent();
  }
  function mouseUp(x, y) {
    // A click that names a companion program opens its explainer in the page.
    const named = m._procesor_mouse_up(x, y) !== 0;
    afterEvent();
    if (named) {
      const [kind, number] = new Int32Array(m.HEAP32.buffer, m._procesor_companion(), 2);
      window.procesorExplainers.openFor(kind, number);
    }
  }
  function pointerUp(x, y) {
    if (!pointerDown) return;
    pointerDown = false;
    mouseUp(x, y);
  }
  canvas.addEventListener("pointerup", (event) => {
    if (event.isPrimary && event.button === 0) pointerUp(...clientPoint(event));
  });
  // A pointer taken away (the page left, a touch that turns into scrolling) goes
  // up nowhere: whatever it held is let go without a click.
  canvas.addEventListener("pointercancel", () => pointerUp(-1, -1));
  window.addEventListener("blur", () => pointerUp(-1, -1));

  edit17.addEventListener("input", () => {
    if (!m) return;
    const bytes = m.lengthBytesUTF8(edit17.value);
    m.stringToUTF8(edit17.value, m._procesor_text_buffer(bytes), bytes + 1);
    m._procesor_speed_edited(bytes);
    afterEvent();
  });

  // Up and Down in the speed field step it like the arrows.
  edit17.addEventListener("keydown", (event) => {
    if (!m || (event.key !== "ArrowUp" && event.key !== "ArrowDown")) return;
    event.preventDefault();
    m._procesor_speed_arrow(event.key === "ArrowUp" ? 1 : 0);
    afterEvent();
  });

  // The data switches take the keyboard focus by Tab, as on the desktop, through
  // invisible buttons over them: the picture draws the dotted focus frame, and the
  // space bar pushes the switch in and lets it go like the mouse.
  function addSwitchKeys() {
    const places = new Int32Array(m.HEAP32.buffer, m._procesor_switch_places(),
                                  m._procesor_switch_count() * 5);
    for (let i = 0; i < places.length; i += 5) {
      const [n, x, y, w, h] = places.subarray(i, i + 5);
      const cx = x + (w >> 1), cy = y + (h >> 1);
      const key = document.createElement("button");
      key.type = "button";
      key.className = "switch-key";
      key.id = "Button" + n;
      placeInside(key, [x, y, w, h], 0);
      const letGo = (x, y) => {
        if (keyHeld !== n) return;
        keyHeld = 0;
        m._procesor_mouse_up(x, y);
      };
      key.addEventListener("focus", () => {
        m._procesor_set_focus(n);
        afterEvent();
      });
      key.addEventListener("blur", () => {
        letGo(-1, -1);
        m._procesor_set_focus(0);
        afterEvent();
      });
      key.addEventListener("keydown", (event) => {
        if (event.key !== " ") return;
        event.preventDefault();
        if (event.repeat || keyHeld || pointerDown) return;
        keyHeld = n;
        m._procesor_mouse_down(cx, cy);
        afterEvent();
      });
      key.addEventListener("keyup", (event) => {
        if (event.key !== " ") return;
        event.preventDefault();
        letGo(cx, cy);
        afterEvent();
      });
      memo1.before(key);
    }
  }

  errorBox.querySelector(".close").addEventListener("click", () => errorBox.close());
  // Enter takes the OK button, Escape closes the box as the dialog does by itself.
  errorBox.addEventListener("keydown", (event) => {
    if (event.key === "Enter") {
      event.preventDefault();
      errorBox.close();
    }
  });

  createProcesor().then((module) => {
    m = module;
    m._procesor_init();
    window.procesorExplainers.attach(m);
    const places = new Int32Array(m.HEAP32.buffer, m._procesor_places(), 14);
    placeInside(edit17, places.subarray(0, 4));
    placeInside(memo1, places.subarray(8, 12));
    memo1.value = m.UTF8ToString(m._procesor_memo_text());
    addSwitchKeys();
    afterEvent();
    edit17.focus();
    performance.mark("procesor-first-frame");
    document.documentElement.dataset.ready = "1";
  });

  // For the tests and the figures: the pulses taken so far, whether a timer runs,
  // a tick given by hand (with "#manual-timers"; a timer that is off does not
  // tick), and a click at a client pixel as the pointer gives it.
  window.procesorPage = Object.freeze({
    pulses: () => m._procesor_pulses(),
    click(x, y) {
      mouseDown(x, y);
      mouseUp(x, y);
    },
    running: (n) => timers[n].running,
    interval: (n) => timers[n].interval,
    tick(n) {
      if (timers[n].running) tick(n);
      return timers[n].running;
    },
  });
})();
