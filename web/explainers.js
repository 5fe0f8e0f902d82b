// The explainers inside the page. A click on a block, a gate or a listing line opens
// that element's explainer in a window of the page: a title bar with the program's
// title and a close button, movable by the title bar, and a canvas on which the
// scene (web/explain_exports.cpp) draws the same pixels as on the desktop. The
// windows are not modal: the simulator and its clock go on beside them. Several may
// be open; a click on an element whose explainer is open brings it to the front.
// Escape closes the front one. Keys in a window go to its scene: Tab and Shift+Tab
// move the focus over its controls, Space and Enter press the one with the focus.
// The page's other windows ("Časový diagram") are made by the same frame().
"use strict";

window.procesorExplainers = (function () {
  let m = null;             // the module's exports, once ready
  const open = new Map();   // command -> the open window
  let order = 0;            // stacking: the front window has the highest number
  const kKeys = { Tab: 0, " ": 2, Enter: 3, ArrowLeft: 4, ArrowRight: 5, ArrowUp: 6,
                  ArrowDown: 7 };

  // Each scene pixel takes whole device pixels: as many as the screen's scale allows.
  function fitCanvas(w) {
    const ratio = window.devicePixelRatio || 1;
    const factor = Math.max(1, Math.floor(ratio + 1e-9));
    w.canvas.style.width = (w.width * factor / ratio) + "px";
    w.canvas.style.height = (w.height * factor / ratio) + "px";
  }

  function paint(w) {
    const count = m._explain_render(w.handle);
    if (count === 0) return;
    const rects = new Int32Array(m.HEAP32.buffer, m._explain_dirty(), count * 4);
    const pixels = new Uint8ClampedArray(m.HEAPU8.buffer, m._explain_pixels(w.handle),
                                         w.width * w.height * 4);
    const image = new ImageData(pixels, w.width, w.height);
    for (let i = 0; i < count; ++i)
      w.context.putImageData(image, 0, 0, rects[4 * i], rects[4 * i + 1], rects[4 * i + 2],
                             rects[4 * i + 3]);
  }

  function front() {
    let best = null;
    for (const w of open.values()) if (!best || w.order > best.order) best = w;
    return best;
  }

  function raise(w) {
    w.order = ++order;
    w.element.style.zIndex = String(1000 + w.order);
    for (const other of open.values()) other.element.classList.toggle("front", other === w);
  }

  function close(w) {
    if (!open.has(w.command)) return;
    open.delete(w.command);
    w.element.remove();
    w.closed();
    const next = front();
    if (next) {
      raise(next);
      next.element.focus();
    }
  }

  function scenePoint(w, event) {
    const r = w.canvas.getBoundingClientRect();
    return [Math.floor((event.clientX - r.left) * w.width / r.width),
            Math.floor((event.clientY - r.top) * w.height / r.height)];
  }

  // A window of the page: the title bar with the title and a close button, movable by
  // the bar, over a canvas of width x height pixels grown by whole device pixels;
  // closed by its button or Escape (`closed` is told). Registered under `command`.
  function frame(command, titleText, width, height, closed) {
    const w = { command, order: 0, held: false, width, height, closed };
    const element = document.createElement("div");
    element.className = "explainer";
    element.dataset.command = command;
    element.tabIndex = 0;
    element.setAttribute("role", "dialog");
    const bar = document.createElement("div");
    bar.className = "title-bar";
    const title = document.createElement("span");
    title.textContent = titleText;
    const closeButton = document.createElement("button");
    closeButton.type = "button";
    closeButton.className = "close";
    closeButton.tabIndex = -1;
    closeButton.textContent = "\u2715";
    closeButton.setAttribute("aria-label", "Zavřít");
    bar.append(title, closeButton);
    element.setAttribute("aria-label", title.textContent);
    const canvas = document.createElement("canvas");
    canvas.width = w.width;
    canvas.height = w.height;
    element.append(bar, canvas);
    // Drawn only by putImageData, and read back by the tests.
    const context = canvas.getContext("2d", { alpha: false, willReadFrequently: true });
    Object.assign(w, { element, canvas, context });
    fitCanvas(w);

    // Each new window a little lower and further right than the last, on the screen.
    const step = 24 * (open.size % 8);
    element.style.left = Math.max(0, Math.min(40 + step, innerWidth - 200)) + "px";
    element.style.top = Math.max(0, Math.min(40 + step, innerHeight - 60)) + "px";

    element.addEventListener("pointerdown", () => raise(w), true);
    closeButton.addEventListener("pointerdown", (event) => event.stopPropagation());
    closeButton.addEventListener("click", () => close(w));
    element.addEventListener("keydown", (event) => {
      if (event.key !== "Escape") return;
      event.preventDefault();
      event.stopPropagation();
      close(w);
    });

    // Moved by the title bar; the bar never leaves the page entirely.
    bar.addEventListener("pointerdown", (event) => {
      if (event.button !== 0 || event.target === closeButton) return;
      event.preventDefault();
      bar.setPointerCapture(event.pointerId);
      const startX = event.clientX - element.offsetLeft;
      const startY = event.clientY - element.offsetTop;
      const move = (e) => {
        const x = Math.max(40 - element.offsetWidth, Math.min(e.clientX - startX, innerWidth - 40));
        const y = Math.max(0, Math.min(e.clientY - startY, innerHeight - 20));
        element.style.left = x + "px";
        element.style.top = y + "px";
      };
      const done = () => {
        bar.removeEventListener("pointermove", move);
        bar.removeEventListener("pointerup", done);
        bar.removeEventListener("pointercancel", done);
        element.focus();
      };
      bar.addEventListener("pointermove", move);
      bar.addEventListener("pointerup", done);
      bar.addEventListener("pointercancel", done);
    });
    return w;
  }

  function create(command, handle) {
    const w = frame(command, m.UTF8ToString(m._explain_title(handle)), m._explain_width(handle),
                    m._explain_height(handle), () => m._explain_close(handle));
    w.handle = handle;
    const { element, canvas } = w;

    canvas.addEventListener("pointerdown", (event) => {
      if (!event.isPrimary || event.button !== 0 || w.held) return;
      event.preventDefault();
      element.focus();
      canvas.setPointerCapture(event.pointerId);
      w.held = true;
      m._explain_mouse_down(handle, ...scenePoint(w, event));
      paint(w);
    });
    canvas.addEventListener("pointermove", (event) => {
      if (!w.held || !event.isPrimary) return;
      m._explain_mouse_move(handle, ...scenePoint(w, event));
      paint(w);
    });
    const up = (event, at) => {
      if (!w.held || !event.isPrimary) return;
      w.held = false;
      m._explain_mouse_up(handle, ...at);
      paint(w);
    };
    canvas.addEventListener("pointerup", (event) => up(event, scenePoint(w, event)));
    canvas.addEventListener("pointercancel", (event) => up(event, [-1, -1]));

    element.addEventListener("keydown", (event) => {
      if (event.altKey || event.ctrlKey || event.metaKey) return;
      let key = kKeys[event.key];
      if (key === undefined) return;
      if (key === 0 && event.shiftKey) key = 1;
      event.preventDefault();
      if ((key === 2 || key === 3) && event.repeat) return;
      m._explain_key(handle, key);
      paint(w);
    });

    document.body.append(element);
    paint(w);
    return w;
  }

  // A window of the page's own (not an explainer's) under `command`: made by
  // make(frame) the first time, brought to the front and given the focus each time.
  function openOwn(command, make) {
    let w = open.get(command);
    if (!w) {
      w = make((title, width, height, closed) => frame(command, title, width, height, closed));
      open.set(command, w);
    }
    raise(w);
    w.element.focus();
    return w;
  }

  // Escape anywhere in the page closes the front window, unless the error box is up.
  document.addEventListener("keydown", (event) => {
    if (event.key !== "Escape" || event.defaultPrevented || open.size === 0) return;
    if (document.querySelector("dialog[open]")) return;
    event.preventDefault();
    close(front());
  });

  window.addEventListener("resize", () => {
    for (const w of open.values()) fitCanvas(w);
  });

  return Object.freeze({
    // Called by the page once the module is ready.
    attach(module) {
      m = module;
    },
    // The explainer of a diagram element (kind 0 Image, 1 Label): brought to the
    // front if it is open, opened on the element otherwise. Returns its command, or
    // "" when the element has none.
    openFor(kind, number) {
      if (!m) return "";
      const command = m.UTF8ToString(m._explain_command_for(kind, number));
      if (command === "") return "";
      let w = open.get(command);
      if (!w) {
        const handle = m._explain_open(kind, number);
        if (!handle) return "";
        w = create(command, handle);
        open.set(command, w);
      }
      raise(w);
      w.element.focus();
      return command;
    },
    // For the tests: whether an element's explainer exists in this build; the open
    // windows' commands, back to front.
    openOwn,
    hasScene: (kind, number) => m._explain_has_scene(kind, number) !== 0,
    list: () => [...open.values()].sort((a, b) => a.order - b.order).map((w) => w.command),
  });
})();
