// Runs one search at a time off the page's thread, so that the page stays responsive.
importScripts('pinsum_engine.js');

const engine = createPinsumEngine();
// Status texts come far more often than a page can show them.
const kStatusEveryMs = 100;

onmessage = async (event) => {
  const { catalogue, request, level, stopFlag } = event.data;
  const module = await engine;
  const stop = stopFlag ? new Int32Array(stopFlag) : null;
  let shown = 0;
  const result = module.solve(new Uint8Array(catalogue), request.normalize('NFC'), level,
    (text) => {
      const now = performance.now();
      if (now - shown >= kStatusEveryMs) {
        shown = now;
        postMessage({ status: text });
      }
      return stop !== null && Atomics.load(stop, 0) !== 0;
    });
  postMessage({ result: JSON.parse(result) });
};
